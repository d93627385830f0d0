#pragma once

#include <functional>
#include <memory>

namespace zorvik {

// A timer that fires again and again on the main thread until it is invalidated.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    // Stops the timer for good; the ticker then lets go of it. Safe to call from the
    // timer's own action and more than once.
    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
};

// Schedules repeating timers, like a run loop: a scheduled timer is kept alive by the ticker
// until it is invalidated, so whoever scheduled it may hold it or drop it. The action gets
// the timer itself, so that it can invalidate it.
class Ticker {
public:
    using Action = std::function<void(RepeatingTimer &)>;

    virtual ~Ticker() = default;
    // interval in seconds; the first firing comes one interval after scheduling.
    virtual std::shared_ptr<RepeatingTimer> schedule(double interval, Action action) = 0;
};

} // namespace zorvik
