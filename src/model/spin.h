#pragma once

#include <cstdint>

namespace zorvik {

// The precomputed plan of one spin: where wheel and ball start and stop and how long the run
// takes. Pure arithmetic: the same arguments always give the same plan and the same frames.
struct Spin {
    struct Frame {
        double wheel;  // wheel rotation, radians
        double ball;   // absolute ball angle, radians
        double radius; // ball distance from the wheel centre, design units
    };

    std::int64_t index; // position in Roulette::pockets of the pocket the ball lands on
    double wheelStart;
    double wheelEnd;   // not reduced into one turn
    double ballStart;  // always the top of the wheel, WheelGeometry::top
    double ballEnd;    // not reduced into one turn
    double duration;   // seconds

    // velocity in radians per second, positive clockwise on screen.
    Spin(std::int64_t index, double start, double velocity, bool reducedMotion = false);

    // t is the elapsed fraction of the run; it is clamped here (NaN counts as 0).
    Frame frame(double t) const;
};

} // namespace zorvik
