#include "platform/atspi_events.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace zorvik {

namespace {
// Qt's AT-SPI bridge opens its bus connection under this name; reusing it keeps one sender.
QDBusConnection accessibilityBus()
{
    return QDBusConnection(u"a11y"_s);
}
} // namespace

void AtSpiEvents::send(QObject *object, const QString &member, const QString &detail, int detail1,
                       const QVariant &data)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    QDBusConnection bus = accessibilityBus();
    if (!iface || !bus.isConnected())
        return;
    const QString path = u"/org/a11y/atspi/accessible/"_s + QString::number(QAccessible::uniqueId(iface));
    QDBusMessage signal = QDBusMessage::createSignal(path, u"org.a11y.atspi.Event.Object"_s, member);
    signal << detail << detail1 << 0 << QVariant::fromValue(QDBusVariant(data)) << QVariantMap();
    bus.send(signal);
}

void AtSpiEvents::descriptionChanged(QObject *object, const QString &text)
{
    if (!object || !QAccessible::isActive())
        return;
    if (!accessibilityBus().isConnected()) {
        QAccessibleEvent event(object, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    send(object, u"PropertyChange"_s, u"accessible-description"_s, 0, text);
}

} // namespace zorvik
