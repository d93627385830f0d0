// ColorScheme against a stand-in portal on a private session bus: the Debian 12 reply shape
// v(v(u)) on start-up, then SettingChanged signals.
#include "platform/color_scheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    int reads = 0;

public slots:
    QDBusVariant Read(const QString &nameSpace, const QString &key)
    {
        ++reads;
        const bool scheme = nameSpace == "org.freedesktop.appearance"_L1 && key == "color-scheme"_L1;
        return QDBusVariant(scheme ? QVariant::fromValue(QDBusVariant(QVariant(1u))) : QVariant(0u));
    }
};

class TestColorSchemePortal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_bus.start(daemon, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(m_bus.waitForStarted() && m_bus.waitForReadyRead(5000));
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address); // before anything here touches the session bus
    }
    void cleanupTestCase()
    {
        m_bus.terminate();
        m_bus.waitForFinished(2000);
    }

    void readsThenFollowsChanges()
    {
        const QString path = u"/org/freedesktop/portal/desktop"_s;
        QDBusConnection bus = QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), u"portal"_s);
        FakePortal portal;
        QVERIFY(bus.registerObject(path, &portal, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        const auto settingChanged = [&](const QString &key, uint value) {
            QDBusMessage signal =
                QDBusMessage::createSignal(path, u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s);
            signal << u"org.freedesktop.appearance"_s << key << QVariant::fromValue(QDBusVariant(QVariant(value)));
            return bus.send(signal);
        };

        ColorScheme scheme;
        QSignalSpy changed(&scheme, &ColorScheme::changed);
        scheme.start(); // returns at once; the answer comes through the event loop
        QCOMPARE(scheme.preference(), ColorScheme::Preference::none);
        QTRY_VERIFY(scheme.prefersDark());
        QCOMPARE(portal.reads, 1);

        QVERIFY(settingChanged(u"color-scheme"_s, 2));
        QTRY_COMPARE(scheme.preference(), ColorScheme::Preference::light);
        // Other settings of the portal pass by.
        QVERIFY(settingChanged(u"accent-color"_s, 1));
        QTest::qWait(100);
        QCOMPARE(scheme.preference(), ColorScheme::Preference::light);
        QCOMPARE(changed.count(), 2);
    }

private:
    QProcess m_bus;
};

QTEST_GUILESS_MAIN(TestColorSchemePortal)
#include "tst_color_scheme_portal.moc"
