#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>

class QObject;

namespace zorvik {

// Object events sent straight onto the AT-SPI bus, for what Qt 6.4's own bridge does not carry:
// it sends a description change with the object itself in place of the new text, so a screen
// reader has nothing to speak (Orca 43 logs "bad content"), and it has no announcements.
// Each event goes out on Qt's own accessibility bus connection, from the object's path, so that
// listeners see the sender and object they already know. Nothing is sent while no assistive
// technology is active.
class AtSpiEvents {
public:
    // Qt's AT-SPI bridge's own bus connection (connected only while an assistive technology is
    // active), for anything else this program says to the AT-SPI bus; a connection that is not
    // connected where that cannot be confirmed.
    static QDBusConnection bus();

    // org.a11y.atspi.Event.Object `member` with signature (siiva{sv}).
    static void send(QObject *object, const QString &member, const QString &detail, int detail1,
                     const QVariant &data);

    // The object's description is now `text`, and a screen reader speaks it if the object has
    // the focus. Where no AT-SPI bus is connected this falls back to the toolkit's own event.
    static void descriptionChanged(QObject *object, const QString &text);
};

} // namespace zorvik
