#include "accessibility/atspi_events.h"

#include "accessibility/accessibility_log.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLibraryInfo>
#include <QVariantMap>
#include <QVersionNumber>

#include <utility>

using namespace Qt::StringLiterals;

namespace zorvik {

namespace {
const QString accessiblePath = u"/org/a11y/atspi/accessible"_s;
} // namespace

QDBusConnection AtSpiEvents::bus()
{
    // Qt 6.4's bridge opens its connection to the accessibility bus under the name "a11y". That
    // name is Qt's own, not API, so it is taken only from a Qt 6 at run time, and only while the
    // connection of that name serves the bridge's tree of accessible objects. Otherwise this
    // answers a connection that is not connected, and every caller takes its fallback.
    static const bool knownQt = QLibraryInfo::version().majorVersion() == 6;
    QDBusConnection borrowed(u"a11y"_s);
    if (!knownQt || !borrowed.isConnected())
        return QDBusConnection(u"zorvik-no-a11y"_s);
    if (!borrowed.objectRegisteredAt(accessiblePath + u"/root"_s)) {
        static bool told = false;
        if (!std::exchange(told, true))
            qCWarning(lcAccessibility) << "the connection named a11y does not serve Qt's accessible objects; "
                                          "events go through Qt's own bridge only";
        return QDBusConnection(u"zorvik-no-a11y"_s);
    }
    return borrowed;
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
    const QString path = accessiblePath + u'/' + QString::number(QAccessible::uniqueId(iface));
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
