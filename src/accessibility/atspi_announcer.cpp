#include "accessibility/atspi_announcer.h"

#include "accessibility/accessibility_log.h"
#include "accessibility/atspi_events.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

using namespace Qt::StringLiterals;

namespace zorvik {

namespace {

const QString registryService = u"org.a11y.atspi.Registry"_s;
const QString registryPath = u"/org/a11y/atspi/registry"_s;
const QString registryInterface = u"org.a11y.atspi.Registry"_s;
constexpr int queryTimeoutMs = 5000;

// libatspi registers "object:announcement"; older clients spelled event names in D-Bus case.
bool isAnnouncementListener(const QString &event)
{
    return event.toLower().remove(u'-').startsWith(u"object:announcement"_s);
}

// The registry's answer, a(ss): (client bus name, event name) pairs. The signature has been
// checked by the caller.
bool listensForAnnouncements(const QDBusArgument &listeners)
{
    bool heard = false;
    listeners.beginArray();
    while (!listeners.atEnd()) {
        QString client;
        QString event;
        listeners.beginStructure();
        listeners >> client >> event;
        listeners.endStructure();
        heard = heard || isAnnouncementListener(event);
    }
    listeners.endArray();
    return heard;
}

} // namespace

AtSpiAnnouncer::AtSpiAnnouncer(QObject *parent) : QObject(parent)
{
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive())
        watchRegistry(true);
}

AtSpiAnnouncer::~AtSpiAnnouncer()
{
    QAccessible::removeActivationObserver(this);
}

void AtSpiAnnouncer::setFallback(std::function<void(const QString &)> fallback)
{
    m_fallback = std::move(fallback);
}

void AtSpiAnnouncer::announce(const QString &message)
{
    if (!QAccessible::isActive() || !qApp)
        return;
    // Detail, politeness 2 (assertive), the text.
    AtSpiEvents::send(qApp, u"Announcement"_s, QString(), 2, message);
    if (!m_announcementsHeard && m_fallback)
        m_fallback(message);
}

void AtSpiAnnouncer::accessibilityActiveChanged(bool active)
{
    // Qt's bridge tells its observers before it serves its accessible objects on its connection,
    // which AtSpiEvents::bus() looks for: look once it is done.
    QMetaObject::invokeMethod(this, [this, active] { watchRegistry(active); }, Qt::QueuedConnection);
}

void AtSpiAnnouncer::watchRegistry(bool watch)
{
    QDBusConnection bus = AtSpiEvents::bus();
    if (watch == m_watching || !bus.isConnected())
        return;
    m_watching = watch;
    for (const QString &signal : {u"EventListenerRegistered"_s, u"EventListenerDeregistered"_s}) {
        if (watch)
            bus.connect(registryService, registryPath, registryInterface, signal, this, SLOT(queryListeners()));
        else
            bus.disconnect(registryService, registryPath, registryInterface, signal, this, SLOT(queryListeners()));
    }
    if (watch) {
        queryListeners();
    } else {
        ++m_query;
        m_announcementsHeard = false;
    }
}

void AtSpiAnnouncer::queryListeners()
{
    QDBusConnection bus = AtSpiEvents::bus();
    if (!bus.isConnected())
        return;
    const quint64 query = ++m_query;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(registryService, registryPath, registryInterface, u"GetRegisteredEvents"_s);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, queryTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, query](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusMessage reply = answer->reply();
        // A late, failed or malformed answer leaves what was known.
        if (query != m_query || reply.type() != QDBusMessage::ReplyMessage || reply.signature() != u"a(ss)"_s)
            return;
        m_announcementsHeard = listensForAnnouncements(reply.arguments().constFirst().value<QDBusArgument>());
        qCDebug(lcAccessibility) << "a screen reader listens for announcements:" << m_announcementsHeard;
    });
}

} // namespace zorvik
