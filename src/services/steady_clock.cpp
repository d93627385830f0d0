#include "services/steady_clock.h"

#include <chrono>

namespace zorvik {

double SteadyClock::now() const
{
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}


} // namespace zorvik
