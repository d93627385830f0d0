#include "services/qt_ticker.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace zorvik {

class QtRepeatingTimer final : public RepeatingTimer,
                               public std::enable_shared_from_this<QtRepeatingTimer> {
public:
    QtRepeatingTimer(QtTicker &ticker, int milliseconds, Ticker::Action action)
        : m_ticker(&ticker), m_action(std::move(action)), m_timer(new QTimer)
    {
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setInterval(milliseconds);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { fire(); });
    }

    ~QtRepeatingTimer() override
    {
        m_timer->stop();
        // The timer may be going away from inside its own timeout: let Qt finish the emission.
        m_timer->disconnect();
        m_timer->deleteLater();
    }

    void start() { m_timer->start(); }

    void invalidate() override
    {
        if (!m_ticker)
            return;
        m_timer->stop();
        QtTicker *ticker = m_ticker;
        m_ticker = nullptr;
        ticker->release(this);
    }

    bool isValid() const override { return m_ticker != nullptr; }

    // Called when the ticker itself goes away with the timer still scheduled.
    void orphan()
    {
        m_timer->stop();
        m_ticker = nullptr;
    }

private:
    void fire()
    {
        if (!m_ticker)
            return;
        // Keep ourselves alive while the action runs, even if it invalidates us.
        const auto self = shared_from_this();
        m_action(*this);
    }

    QtTicker *m_ticker;
    Ticker::Action m_action;
    QTimer *m_timer;
};

QtTicker::QtTicker() = default;

QtTicker::~QtTicker()
{
    for (const auto &timer : m_timers)
        timer->orphan();
}


std::shared_ptr<RepeatingTimer> QtTicker::schedule(double interval, Action action)
{
    // Qt timers count whole milliseconds.
    double ms = std::floor(interval * 1000.0);
    if (!(ms >= 1.0))
        ms = 1.0;
    ms = std::min(ms, 86400000.0);
    auto timer = std::make_shared<QtRepeatingTimer>(*this, static_cast<int>(ms), std::move(action));
    m_timers.push_back(timer);
    timer->start();
    return timer;
}

int QtTicker::liveTimers() const
{
    return static_cast<int>(m_timers.size());
}

void QtTicker::release(const QtRepeatingTimer *timer)
{
    std::erase_if(m_timers, [timer](const auto &held) { return held.get() == timer; });
}

} // namespace zorvik
