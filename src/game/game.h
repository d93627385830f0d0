#pragma once

#include "model/roulette.h"

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
class SettingsStore;
class AudioOutput;
class Ticker;

// The platform services under a Game. Any member left null is filled with the real one
// (steady clock, 1/60 s Qt timer, the system's secure random source, the user settings, the
// default audio device, and an announcer that says nothing).
struct GameServices {
    Clock *clock = nullptr;
    Ticker *ticker = nullptr;
    RandomSource *random = nullptr;
    Announcer *announcer = nullptr;
    SettingsStore *settings = nullptr;
    AudioOutput *audioOutput = nullptr;
};

// The one stateful object of the game: bet, wheel rotation, ball, result and message,
// published to the views through changed(), and the flick input that starts a spin.
class Game : public QObject {
    Q_OBJECT

public:
    explicit Game(QObject *parent = nullptr);
    explicit Game(const GameServices &services, QObject *parent = nullptr);
    ~Game() override;

    // Published state.
    std::optional<Bet> bet() const { return m_bet; }
    bool spinning() const { return m_spinning; }
    double wheel() const { return m_wheel; }
    double ball() const { return m_ball; }
    double radius() const { return m_radius; }
    std::optional<int> result() const { return m_result; }
    QString message() const { return m_message; }
    bool pinned() const { return m_pinned; }
    void setPinned(bool pinned);

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
    // Opened around an assignment that views which animate may ease (ease-out, seconds).
    // The wheel drawing has no animated properties and redraws at once.
    void animationTransaction(double seconds);

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
    void setMessage(const QString &message);

    // Services; the fallbacks are process-wide.
    Clock *m_clock = nullptr;
    Ticker *m_ticker = nullptr;
    RandomSource *m_random = nullptr;
    Announcer *m_announcer = nullptr;

    // Published.
    std::optional<Bet> m_bet;
    bool m_spinning = false;
    double m_wheel = 0.0;
    double m_ball = -1.5707963267948966;
    double m_radius = 146.0;
    std::optional<int> m_result;
    QString m_message;
    bool m_pinned = true;

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
