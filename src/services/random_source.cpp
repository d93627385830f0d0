#include "services/random_source.h"

namespace zorvik {

namespace {
__extension__ typedef unsigned __int128 Wide;
}

std::uint64_t drawBelow(RandomSource &random, std::uint64_t bound)
{
    if (bound == 0)
        return 0;
    // 2^64 mod bound, computed in 64 bits as (2^64 - bound) mod bound.
    const std::uint64_t threshold = (0 - bound) % bound;
    Wide product = static_cast<Wide>(random.next64()) * bound;
    while (static_cast<std::uint64_t>(product) < threshold)
        product = static_cast<Wide>(random.next64()) * bound;
    return static_cast<std::uint64_t>(product >> 64);
}

} // namespace zorvik
