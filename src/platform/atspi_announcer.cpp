#include "platform/atspi_announcer.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace zorvik {

void AtSpiAnnouncer::announce(const QString &message)
{
    if (!QAccessible::isActive() || !qApp)
        return;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(qApp);
    if (!root)
        return;

    // Qt's AT-SPI bridge opens its bus connection under the name "a11y"; reuse it rather than
    // opening a second one, so the signal comes from the sender the listeners already know.
    QDBusConnection bus(u"a11y"_s);
    if (!bus.isConnected())
        return;

    const QString path = u"/org/a11y/atspi/accessible/"_s + QString::number(QAccessible::uniqueId(root));
    QDBusMessage signal =
        QDBusMessage::createSignal(path, u"org.a11y.atspi.Event.Object"_s, u"Announcement"_s);
    // Signature (siiva{sv}): detail, politeness (2 = assertive), unused, the text, no properties.
    signal << QString() << 2 << 0 << QVariant::fromValue(QDBusVariant(message)) << QVariantMap();
    bus.send(signal);
}

} // namespace zorvik
