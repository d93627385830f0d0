#pragma once

namespace zorvik {

// A monotonic clock in seconds. Only differences between readings mean anything.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

} // namespace zorvik
