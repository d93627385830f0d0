#include "platform/system_random.h"

#include <QRandomGenerator>

namespace zorvik {

std::uint64_t SystemRandom::next64()
{
    return QRandomGenerator::system()->generate64();
}

SystemRandom &SystemRandom::shared()
{
    static SystemRandom random;
    return random;
}

} // namespace zorvik
