#pragma once

#include "game/message.h"
#include "model/roulette.h"
#include "model/wheel_geometry.h"

#include <QObject>
#include <QPointF>
#include <QString>

#include <memory>
#include <optional>

namespace zorvik {

class Announcer;
class Clock;
class RandomSource;
class RepeatingTimer;
class RollingAudio;
class Settings;
class AudioOutput;
class Ticker;

// What a Game runs on. The program hands it the real ones (steady clock, 1/60 s Qt timer, the
// system's secure random source, AT-SPI, the user's settings, the default audio device); tests
// hand it fakes. Each must outlive the Game.
struct GameServices {
    Clock &clock;
    Ticker &ticker;
    RandomSource &random;
    Announcer &announcer;
    Settings &settings;
    AudioOutput &audioOutput;
};

// The one stateful object of the game: bet, wheel rotation, ball, result and message, each a
// property with its own change signal, emitted only when its value differs from the one before;
// and the flick input that starts a spin. At the end of a spin the result is announced in the
// user's language.
class Game : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<zorvik::Bet> bet READ bet NOTIFY betChanged)
    Q_PROPERTY(bool spinning READ spinning NOTIFY spinningChanged)
    Q_PROPERTY(double wheel READ wheel NOTIFY wheelChanged)
    Q_PROPERTY(double ball READ ball NOTIFY ballChanged)
    Q_PROPERTY(double radius READ radius NOTIFY radiusChanged)
    Q_PROPERTY(std::optional<int> result READ result NOTIFY resultChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)

public:
    explicit Game(const GameServices &services, QObject *parent = nullptr);
    ~Game() override;

    // Published state. Angles are in radians, growing clockwise on screen; the radius is the
    // ball centre's distance from the wheel's centre in design units.
    std::optional<Bet> bet() const { return m_bet; }
    bool spinning() const { return m_spinning; }
    double wheel() const { return m_wheel; }
    double ball() const { return m_ball; }
    double radius() const { return m_radius; }
    std::optional<int> result() const { return m_result; }
    // The game's own English text, and what it says (which the views and the announcement
    // put into the user's language, see MessageText). Both change together.
    QString message() const { return m_message; }
    Message messageMeaning() const { return m_messageMeaning; }

    RollingAudio &audio() const { return *m_audio; }

    // Operations; each is silently ignored where it does not apply.
    void select(Bet bet);
    // point in the wheel's design space (WheelGeometry).
    void drag(QPointF point);
    void release(bool reducedMotion);
    void start(double velocity = 7.0, bool reducedMotion = false);

signals:
    // previous: the bet in force before, so that each bet's view knows whether it was the one.
    void betChanged(std::optional<zorvik::Bet> bet, std::optional<zorvik::Bet> previous);
    void spinningChanged(bool spinning);
    void wheelChanged(double wheel);
    void ballChanged(double ball);
    void radiusChanged(double radius);
    void resultChanged(std::optional<int> result);
    // The English text and its meaning change together.
    void messageChanged();

private:
    // What a running spin's timer action holds, fixed when the spin starts.
    struct Run;
    void tick(RepeatingTimer &timer, const Run &run);
    void settle(RepeatingTimer &timer, const Run &run);

    void setBet(std::optional<Bet> bet);
    void setSpinning(bool spinning);
    void setWheel(double wheel);
    void setBall(double ball);
    void setRadius(double radius);
    void setResult(std::optional<int> result);
    void setMessage(const Message &message);

    Clock &m_clock;
    Ticker &m_ticker;
    RandomSource &m_random;
    Announcer &m_announcer;

    // Published.
    std::optional<Bet> m_bet;
    bool m_spinning = false;
    double m_wheel = 0.0;
    double m_ball = WheelGeometry::top;
    double m_radius = WheelGeometry::outerTrack;
    std::optional<int> m_result;
    QString m_message;
    Message m_messageMeaning;

    // Private state.
    RollingAudio *m_audio = nullptr;             // owned (child QObject)
    std::shared_ptr<RepeatingTimer> m_timer;     // the running spin's timer, if any
    std::optional<double> m_lastAngle;
    double m_lastTime = 0.0;
    double m_velocity = 0.0;
    double m_distance = 0.0;
    double m_dragStart = 0.0;
};

} // namespace zorvik
