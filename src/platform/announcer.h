#pragma once

#include <QString>

namespace zorvik {

// Speaks a message to assistive technologies at high priority.
class Announcer {
public:
    virtual ~Announcer() = default;
    virtual void announce(const QString &message) = 0;
};

// For running without any window or assistive technology: says nothing.
class SilentAnnouncer final : public Announcer {
public:
    void announce(const QString &) override {}

    static SilentAnnouncer &shared()
    {
        static SilentAnnouncer announcer;
        return announcer;
    }
};

} // namespace zorvik
