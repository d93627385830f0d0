#pragma once

#include <thread>

namespace zorvik {

// Connects to the session bus on a thread of its own while the panel is built. Connecting is a
// few round trips to the bus (authentication, the bus's Hello) that the launch need not wait
// for: the first use of the bus afterwards finds the connection made, or waits for it as it
// would have waited anyway. Needs the application object.
class SessionBusWarmup {
public:
    SessionBusWarmup();
    ~SessionBusWarmup();
    SessionBusWarmup(const SessionBusWarmup &) = delete;
    SessionBusWarmup &operator=(const SessionBusWarmup &) = delete;

private:
    std::thread m_thread;
};

} // namespace zorvik
