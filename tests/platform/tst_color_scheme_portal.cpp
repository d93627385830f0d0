// ColorScheme against a stand-in portal on a private session bus: the Debian 12 reply shape
// v(v(u)) on start-up, then a SettingChanged signal.
#include "platform/color_scheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

using namespace zorvik;

namespace {
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
} // namespace

class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 1;
    int reads = 0;

public slots:
    QDBusVariant Read(const QString &nameSpace, const QString &key)
    {
        ++reads;
        if (nameSpace == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(scheme))));
        return QDBusVariant(QVariant(0u));
    }
};

class TestColorSchemePortal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void readsThenFollowsChanges();

private:
    QProcess m_bus;
};

void TestColorSchemePortal::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    m_bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QVERIFY(m_bus.waitForStarted());
    QVERIFY(m_bus.waitForReadyRead(5000));
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    // Before anything in this process touches the session bus.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
}

void TestColorSchemePortal::cleanupTestCase()
{
    if (m_bus.state() != QProcess::NotRunning) {
        m_bus.terminate();
        m_bus.waitForFinished(2000);
    }
}

void TestColorSchemePortal::readsThenFollowsChanges()
{
    QDBusConnection portalBus = QDBusConnection::connectToBus(
        qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("portal"));
    QVERIFY(portalBus.isConnected());
    FakePortal portal;
    QVERIFY(portalBus.registerObject(portalPath, &portal, QDBusConnection::ExportAllSlots));
    QVERIFY(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

    ColorScheme scheme;
    QSignalSpy changed(&scheme, &ColorScheme::changed);
    scheme.start(); // returns at once; the answer comes through the event loop
    QCOMPARE(scheme.preference(), ColorScheme::Preference::none);
    QTRY_VERIFY(scheme.prefersDark());
    QCOMPARE(portal.reads, 1);

    QDBusMessage signal = QDBusMessage::createSignal(portalPath, settingsInterface, QStringLiteral("SettingChanged"));
    signal << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
           << QVariant::fromValue(QDBusVariant(QVariant(2u)));
    QVERIFY(portalBus.send(signal));
    QTRY_COMPARE(scheme.preference(), ColorScheme::Preference::light);

    // Other settings of the portal pass by.
    QDBusMessage other = QDBusMessage::createSignal(portalPath, settingsInterface, QStringLiteral("SettingChanged"));
    other << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("accent-color")
          << QVariant::fromValue(QDBusVariant(QVariant(1u)));
    QVERIFY(portalBus.send(other));
    QTest::qWait(100);
    QCOMPARE(scheme.preference(), ColorScheme::Preference::light);
    QCOMPARE(changed.count(), 2);
}

QTEST_GUILESS_MAIN(TestColorSchemePortal)
#include "tst_color_scheme_portal.moc"
