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

// The one stateful object of the game: bet, wheel rotation, ball, result and message,
// published to the views through changed(), and the flick input that starts a spin. At the end
// of a spin the result is announced in the user's language.
class Game : public QObject {
    Q_OBJECT

public:
    explicit Game(const GameServices &services, QObject *parent = nullptr);
    ~Game() override;

    // Published state.
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
    // point in the wheel's 328 x 328 design space, centre (164, 164).
    void drag(QPointF point);
    void release(bool reducedMotion);
    void start(double velocity = 7.0, bool reducedMotion = false);

    bool timerRunning() const;

signals:
    // Fires on every assignment to a published property, also when the value is equal.
    void changed();

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
