#include "model/spin.h"

#include "model/roulette.h"
#include "model/wheel_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorvik {

namespace {
using std::numbers::pi;
using WheelGeometry::top;
constexpr double twoTurns = 4.0 * pi;
constexpr double fourTurns = 8.0 * pi;
constexpr double maxSpeed = 14.0;
} // namespace

Spin::Spin(std::int64_t index, double start, double velocity, bool reducedMotion)
{
    // A velocity that is not a number carries no speed rather than poisoning every frame.
    const double speed = std::isnan(velocity) ? 0.0 : std::min(std::fabs(velocity), maxSpeed);
    const double direction = velocity < 0.0 ? -1.0 : 1.0;

    // Two full turns plus 0.55 rad per rad/s of flick, in the flick's direction.
    wheelEnd = start + direction * (twoTurns + 0.55 * speed);

    // Where the chosen pocket's centre stands once the wheel has stopped.
    const double target = WheelGeometry::pocketAngle(static_cast<double>(index), wheelEnd);

    ballStart = top;
    // The ball runs against the wheel: four turns plus less than one more, onto the target.
    if (direction > 0.0)
        ballEnd = top - fourTurns - Roulette::normalized(top - target);
    else
        ballEnd = top + fourTurns + Roulette::normalized(target - top);

    duration = reducedMotion ? 0.65 : 4.8 + 0.1 * speed;
    this->index = index;
    wheelStart = start;
}

Spin::Frame Spin::frame(double t) const
{
    const double p = t >= 0.0 ? std::min(t, 1.0) : 0.0; // NaN and negatives start the run
    const double e = Roulette::ease(p);

    Frame f{};
    f.wheel = wheelStart + e * (wheelEnd - wheelStart);
    f.ball = ballStart + e * (ballEnd - ballStart);

    // The ball drops to the pocket ring in the last 35 % of the run, with a decaying bounce.
    const double s = std::clamp((p - 0.65) / 0.35, 0.0, 1.0);
    using WheelGeometry::outerTrack;
    using WheelGeometry::pocketTrack;
    f.radius = outerTrack - (outerTrack - pocketTrack) * Roulette::ease(s) + 2.0 * (1.0 - s) * std::sin(5.0 * pi * s);
    return f;
}

} // namespace zorvik
