#pragma once

#include "model/roulette.h"

#include <numbers>

namespace zorvik::WheelGeometry {

// The wheel's design space: a 328 x 328 square, origin top left, y down. Drag points and the
// ball's radius are in these units; the view shows the square 280 points wide.
inline constexpr double side = 328.0;
inline constexpr double centre = side / 2.0;
// Presses over the hub carry no angle.
inline constexpr double hubRadius = 45.0;
// Where the ball rolls until it drops towards the pockets.
inline constexpr double outerTrack = 146.0;
// Angles grow clockwise from the right; the top of the wheel is a quarter turn back.
inline constexpr double top = -std::numbers::pi / 2.0;
// One pocket's share of a turn.
inline constexpr double pocketStep = Roulette::tau / static_cast<double>(Roulette::pockets.size());

} // namespace zorvik::WheelGeometry
