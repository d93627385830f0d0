#pragma once

#include "services/clock.h"

namespace zorvik {

// std::chrono::steady_clock in seconds as a double.
class SteadyClock final : public Clock {
public:
    double now() const override;
};

} // namespace zorvik
