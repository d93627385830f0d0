#include "game/game.h"

#include "game/message_text.h"
#include "model/spin.h"
#include "services/announcer.h"
#include "services/clock.h"
#include "services/random_source.h"
#include "services/ticker.h"
#include "sound/rolling_audio.h"

#include <QPointer>

#include <cmath>
#include <utility>

namespace zorvik {

namespace {

using WheelGeometry::centre;
using WheelGeometry::hubRadius;
using WheelGeometry::outerTrack;
using WheelGeometry::top;
constexpr double minimumStep = 0.008;     // seconds: samples closer than this count as this far apart
constexpr double restingIdle = 0.15;      // seconds without movement before a release makes no flick
constexpr double flickDistance = 0.12;    // radians swept, at least
constexpr double flickSpeed = 0.35;       // radians per second, at least
constexpr double tickInterval = 0.016666666666666666;

} // namespace

struct Game::Run {
    double startTime;
    Spin plan;
    bool reducedMotion;
    Bet bet;
};

Game::Game(const GameServices &services, QObject *parent)
    : QObject(parent)
    , m_clock(services.clock)
    , m_ticker(services.ticker)
    , m_random(services.random)
    , m_announcer(services.announcer)
    , m_message(Message().english())
    , m_audio(new RollingAudio(services.settings, services.audioOutput, this))
{
}

// Drops the reference to a running spin's timer without invalidating it: the ticker still holds
// the timer, which finds the game gone at its next firing and invalidates itself. The sound
// player goes with the RollingAudio child.
Game::~Game() = default;

void Game::setBet(std::optional<Bet> bet)
{
    if (bet == m_bet)
        return;
    const std::optional<Bet> previous = std::exchange(m_bet, bet);
    emit betChanged(bet, previous);
}

void Game::setSpinning(bool spinning)
{
    if (spinning == m_spinning)
        return;
    m_spinning = spinning;
    emit spinningChanged(spinning);
}

void Game::setWheel(double wheel)
{
    if (wheel == m_wheel)
        return;
    m_wheel = wheel;
    emit wheelChanged(wheel);
}

void Game::setBall(double ball)
{
    if (ball == m_ball)
        return;
    m_ball = ball;
    emit ballChanged(ball);
}

void Game::setRadius(double radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit radiusChanged(radius);
}

void Game::setResult(std::optional<int> result)
{
    if (result == m_result)
        return;
    m_result = result;
    emit resultChanged(result);
}

void Game::setMessage(const Message &message)
{
    if (message == m_messageMeaning)
        return;
    m_message = message.english();
    m_messageMeaning = message;
    emit messageChanged();
}

void Game::select(Bet bet)
{
    if (m_spinning)
        return;
    setBet(bet);
}

void Game::drag(QPointF point)
{
    if (!m_bet || m_spinning)
        return;
    // A point that is not finite carries no angle. Far-away finite points do: the pointer may
    // leave the wheel while dragging.
    if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
        return;
    const double dx = point.x() - centre;
    const double dy = point.y() - centre;
    // Points over the hub carry no angle either.
    if (!(std::hypot(dx, dy) > hubRadius))
        return;

    const double angle = std::atan2(dy, dx);
    const double now = m_clock.now();

    if (!m_lastAngle) {
        m_dragStart = m_wheel;
        m_distance = 0.0;
        m_velocity = 0.0;
        setResult(std::nullopt);
        setRadius(outerTrack);
        setBall(top);
    } else {
        const double step = Roulette::delta(angle - *m_lastAngle);
        const double dt = std::max(now - m_lastTime, minimumStep);
        m_velocity = 0.25 * m_velocity + 0.75 * step / dt;
        m_distance += std::abs(step);
        setWheel(m_wheel + step);
    }
    m_lastAngle = angle;
    m_lastTime = now;
}

void Game::release(bool reducedMotion)
{
    // The moment of letting go decides whether the pointer had come to rest: take it first.
    const double now = m_clock.now();
    if (!m_lastAngle)
        return;
    m_lastAngle.reset();

    // A pointer that came to rest before letting go makes no flick.
    if (now - m_lastTime > restingIdle)
        m_velocity = 0.0;

    if (m_distance > flickDistance && std::abs(m_velocity) > flickSpeed) {
        start(m_velocity, reducedMotion);
        return;
    }

    // Not a flick: the wheel goes back to where the drag found it.
    setWheel(m_dragStart);
}

void Game::start(double velocity, bool reducedMotion)
{
    if (!m_bet || m_spinning)
        return;
    m_lastAngle.reset();
    setSpinning(true);
    setResult(std::nullopt);
    setMessage(Message{Message::Kind::spinning});

    // The outcome is fixed here, before anything moves.
    const auto index = static_cast<std::int64_t>(drawBelow(m_random, Roulette::pockets.size()));
    const Spin plan(index, m_wheel, velocity, reducedMotion);
    m_audio->play(plan.duration);

    const Run run{m_clock.now(), plan, reducedMotion, *m_bet};
    if (m_timer)
        m_timer->invalidate();
    QPointer<Game> game(this);
    m_timer = m_ticker.schedule(tickInterval, [game, run](RepeatingTimer &timer) {
        if (!game) {
            timer.invalidate();
            return;
        }
        game->tick(timer, run);
    });
}

void Game::tick(RepeatingTimer &timer, const Run &run)
{
    const double p = (m_clock.now() - run.startTime) / run.plan.duration;
    const Spin::Frame frame = run.plan.frame(p);
    // With reduced motion nothing moves until the run is over; then everything jumps.
    if (!(p < 1.0 && run.reducedMotion)) {
        setWheel(frame.wheel);
        setBall(frame.ball);
        setRadius(frame.radius);
    }
    if (p < 1.0)
        return;
    settle(timer, run);
}

void Game::settle(RepeatingTimer &timer, const Run &run)
{
    timer.invalidate();
    // Whatever ticker runs us, the timer (and the run it carries) stays alive to the end here.
    const std::shared_ptr<RepeatingTimer> finished = std::move(m_timer);
    m_timer.reset();
    m_audio->stop();
    const int number = Roulette::pockets[static_cast<std::size_t>(run.plan.index)];
    setResult(number);
    setMessage(Message::result(number, run.bet));
    setBet(std::nullopt);
    setSpinning(false);
    // Same place on screen; keeps the angles from growing over many spins.
    setWheel(Roulette::normalized(m_wheel));
    setBall(Roulette::normalized(m_ball));
    // Spoken as the message line shows it, in the user's language.
    m_announcer.announce(MessageText::of(m_messageMeaning));
}

} // namespace zorvik
