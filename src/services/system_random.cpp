#include "services/system_random.h"

#include <QRandomGenerator>

namespace zorvik {

std::uint64_t SystemRandom::next64()
{
    return QRandomGenerator::system()->generate64();
}


} // namespace zorvik
