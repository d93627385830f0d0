#pragma once

#include <QString>

namespace zorvik {

// Speaks a message to assistive technologies at high priority.
class Announcer {
public:
    virtual ~Announcer() = default;
    virtual void announce(const QString &message) = 0;
};

} // namespace zorvik
