#pragma once

#include "services/ticker.h"

#include <vector>

namespace zorvik {

class QtRepeatingTimer;

// Repeating timers on the thread's Qt event loop: a QTimer of type Qt::PreciseTimer with the
// interval in whole milliseconds, rounded down (1/60 s gives 16 ms). Qt's nested loops
// (open menus, window moves) keep firing it.
class QtTicker final : public Ticker {
public:
    QtTicker();
    ~QtTicker() override;
    QtTicker(const QtTicker &) = delete;
    QtTicker &operator=(const QtTicker &) = delete;

    std::shared_ptr<RepeatingTimer> schedule(double interval, Action action) override;

    // Timers scheduled and not yet invalidated.
    int liveTimers() const;

private:
    friend class QtRepeatingTimer;
    void release(const QtRepeatingTimer *timer);

    std::vector<std::shared_ptr<QtRepeatingTimer>> m_timers;
};

} // namespace zorvik
