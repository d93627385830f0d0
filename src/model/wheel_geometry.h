#pragma once

#include "model/roulette.h"

#include <cstddef>
#include <numbers>

namespace zorvik::WheelGeometry {

// The wheel's design space: a square, origin top left, y down. Drag points, the ball's radius
// and every circle of the drawing are in these units; the view shows the square `shownSide`
// pixels wide.
inline constexpr double side = 328.0;
inline constexpr int shownSide = 280;
inline constexpr double centre = side / 2.0;

// The circles about the centre, from the rim inwards.
inline constexpr double outerRim = 160.0;
inline constexpr double trackRim = 155.0;
// Where the ball rolls until it drops towards the pockets; the track's groove runs along it.
inline constexpr double outerTrack = 146.0;
inline constexpr double pocketBed = 139.0;
// The pockets with their numbers fill the ring between these radii; everything else on the
// wheel is a circle about the centre, the same at any turn.
inline constexpr double pocketRingOuter = 137.0;
inline constexpr double pocketRingInner = 62.0;
// Where the ball comes to rest in its pocket.
inline constexpr double pocketTrack = 129.0;
inline constexpr double numberRing = 110.0;
inline constexpr double hubRim = 58.0;
inline constexpr double hubFace = 52.0;
// The faint ring on the hub's face, and the plain face inside it: presses over it carry no
// angle, and the hub word lies on it.
inline constexpr double hubRing = 46.0;
inline constexpr double hubRadius = 45.0;

// Angles grow clockwise from the right; the top of the wheel is a quarter turn back.
inline constexpr double top = -std::numbers::pi / 2.0;
inline constexpr std::size_t pocketCount = Roulette::pockets.size();
// One pocket's share of a turn.
inline constexpr double pocketStep = Roulette::tau / static_cast<double>(pocketCount);

// The angle on screen of the centre of pocket `index` (its place in Roulette::pockets) for a
// wheel turned by `wheel`: pocket 0 at the top of an unturned wheel.
constexpr double pocketAngle(double index, double wheel)
{
    return index * Roulette::tau / static_cast<double>(pocketCount) + wheel + top;
}

} // namespace zorvik::WheelGeometry
