#pragma once

#include "platform/clock.h"

namespace zorvik {

// std::chrono::steady_clock in seconds as a double.
class SteadyClock final : public Clock {
public:
    double now() const override;

    // One clock for everything in the process that does not bring its own.
    static SteadyClock &shared();
};

} // namespace zorvik
