#pragma once

#include "services/announcer.h"

#include <QAccessible>
#include <QObject>

#include <functional>

namespace zorvik {

// Announces through AT-SPI. The application's accessible object emits org.a11y.atspi.Event.Object
// "Announcement" with politeness 2 (assertive) on Qt's own accessibility bus connection.
//
// Orca 43 (Debian 12) has no handler for that signal: it speaks an element of role notification
// when the element becomes showing. So the message also goes to the fallback, which shows such
// an element, but only while no client of the bus has registered a listener for
// "object:announcement" with the AT-SPI registry. A screen reader that presents announcements
// registers that listener; one that presents notifications as well (newer Orca) would otherwise
// say the result twice. The registry's list is asked for again whenever a listener comes or goes,
// asynchronously, so the answer is at hand when a spin ends.
//
// Does nothing while no assistive technology is active. Qt 6.8 replaces the signal with
// QAccessibleAnnouncementEvent (QAccessible::AnnouncementPoliteness::Assertive).
class AtSpiAnnouncer final : public QObject, public Announcer, private QAccessible::ActivationObserver {
    Q_OBJECT

public:
    explicit AtSpiAnnouncer(QObject *parent = nullptr);
    ~AtSpiAnnouncer() override;

    void announce(const QString &message) override;

    // What presents a message where no screen reader listens for announcements.
    void setFallback(std::function<void(const QString &)> fallback);

private slots:
    void queryListeners();

private:
    void accessibilityActiveChanged(bool active) override;
    void watchRegistry(bool watch);

    std::function<void(const QString &)> m_fallback;
    bool m_watching = false;
    bool m_announcementsHeard = false;
    // Numbers the registry queries, so that only the latest answer counts.
    quint64 m_query = 0;
};

} // namespace zorvik
