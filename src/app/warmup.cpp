#include "app/warmup.h"

#include <QDBusConnection>

#include <utility>

#if ZORVIK_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace zorvik {

Warmup::Warmup(std::function<void()> work)
{
    if (work)
        m_thread = std::thread(std::move(work));
}

Warmup::~Warmup()
{
    finish();
}

void Warmup::finish()
{
    if (m_thread.joinable())
        m_thread.join();
}

Warmup Warmup::fontConfiguration()
{
#if ZORVIK_HAVE_FONTCONFIG
    // FcInit installs the configuration it loads as the process's current one with an atomic
    // swap: should Qt ask first, it loads its own and one of the two is dropped, no harm done.
    return Warmup([] { FcInit(); });
#else
    return Warmup(nullptr);
#endif
}

Warmup Warmup::sessionBus()
{
    return Warmup([] { QDBusConnection::sessionBus(); });
}

} // namespace zorvik
