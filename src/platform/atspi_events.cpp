#include "platform/atspi_events.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace zorvik {

QDBusConnection AtSpiEvents::bus()
{
    // Qt's bridge opens its connection under this name; reusing it keeps one sender.
    return QDBusConnection(u"a11y"_s);
}

void AtSpiEvents::send(QObject *object, const QString &member, const QString &detail, int detail1,
                       const QVariant &data)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    QDBusConnection connection = bus();
    if (!iface || !connection.isConnected())
        return;
    const QString path = u"/org/a11y/atspi/accessible/"_s + QString::number(QAccessible::uniqueId(iface));
    QDBusMessage signal = QDBusMessage::createSignal(path, u"org.a11y.atspi.Event.Object"_s, member);
    signal << detail << detail1 << 0 << QVariant::fromValue(QDBusVariant(data)) << QVariantMap();
    connection.send(signal);
}

void AtSpiEvents::descriptionChanged(QObject *object, const QString &text)
{
    if (!object || !QAccessible::isActive())
        return;
    if (!bus().isConnected()) {
        QAccessibleEvent event(object, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    send(object, u"PropertyChange"_s, u"accessible-description"_s, 0, text);
}

} // namespace zorvik
