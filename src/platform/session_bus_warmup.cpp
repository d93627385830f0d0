#include "platform/session_bus_warmup.h"

#include <QDBusConnection>

namespace zorvik {

SessionBusWarmup::SessionBusWarmup()
    : m_thread([] { QDBusConnection::sessionBus(); })
{
}

SessionBusWarmup::~SessionBusWarmup()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace zorvik
