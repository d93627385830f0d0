#pragma once

#include <cstdint>

namespace zorvik {

// A source of uniformly distributed 64-bit words.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::uint64_t next64() = 0;
};

// A uniformly distributed integer in [0, bound) for bound >= 1, without modulo bias: the
// 128-bit product r * bound of a random word r is redrawn while its low 64 bits fall below
// 2^64 mod bound; the result is the high 64 bits. A bound of 0 gives 0 and draws nothing.
std::uint64_t drawBelow(RandomSource &random, std::uint64_t bound);

} // namespace zorvik
