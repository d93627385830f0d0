#pragma once

#include "services/random_source.h"

namespace zorvik {

// The system's cryptographically secure random source (QRandomGenerator::system()).
class SystemRandom final : public RandomSource {
public:
    std::uint64_t next64() override;
};

} // namespace zorvik
