#pragma once

#include "services/announcer.h"

namespace zorvik {

// Announces through AT-SPI: the application's accessible object emits
// org.a11y.atspi.Event.Object "Announcement" with politeness 2 (assertive) on Qt's own
// accessibility bus connection. Does nothing while no assistive technology is active.
//
// Qt 6.8 replaces this with QAccessibleAnnouncementEvent (QAccessible::AnnouncementPoliteness::
// Assertive) sent through QAccessible::updateAccessibility().
class AtSpiAnnouncer final : public Announcer {
public:
    void announce(const QString &message) override;
};

} // namespace zorvik
