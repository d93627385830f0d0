// The desktop colour-scheme answer as the portal and gsettings give it, and ColorScheme against a
// stand-in portal on a private bus: Debian 12's reply shape v(v(u)), then SettingChanged.
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
using Preference = ColorScheme::Preference;
using Answer = std::optional<Preference>;

namespace {
QVariant wrapped(const QVariant &value, int times)
{
    QVariant result = value;
    for (int i = 0; i < times; ++i)
        result = QVariant::fromValue(QDBusVariant(result));
    return result;
}
} // namespace

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
        return QDBusVariant(scheme ? wrapped(1u, 1) : QVariant(0u));
    }
};

class TestColorScheme : public QObject {
    Q_OBJECT

private slots:
    // The portal's value, plain or wrapped in variants, and gsettings' output (a plain string).
    void answers_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<Answer>("expected");
        QTest::newRow("portal v(v(u)) dark") << wrapped(1u, 2) << Answer(Preference::dark);
        QTest::newRow("portal v(v(u)) light") << wrapped(2u, 2) << Answer(Preference::light);
        QTest::newRow("portal v(v(u)) none") << wrapped(0u, 2) << Answer(Preference::none);
        QTest::newRow("portal v(u) light") << wrapped(2u, 1) << Answer(Preference::light);
        QTest::newRow("portal u dark") << QVariant(1u) << Answer(Preference::dark);
        QTest::newRow("portal unknown number") << wrapped(7u, 2) << Answer(Preference::none);
        QTest::newRow("portal signed int") << wrapped(1, 1) << Answer(Preference::dark);
        QTest::newRow("portal negative int") << wrapped(-1, 1) << Answer();
        QTest::newRow("portal string") << wrapped(u"1"_s, 2) << Answer();
        QTest::newRow("portal empty variant") << wrapped(QVariant(), 1) << Answer();
        QTest::newRow("gsettings prefer-dark") << QVariant(u"'prefer-dark'\n"_s) << Answer(Preference::dark);
        QTest::newRow("gsettings prefer-light") << QVariant(u"'prefer-light'\n"_s) << Answer(Preference::light);
        QTest::newRow("gsettings default") << QVariant(u"'default'\n"_s) << Answer(Preference::none);
        QTest::newRow("gsettings unquoted") << QVariant(u"prefer-dark\n"_s) << Answer();
        QTest::newRow("gsettings: no such key") << QVariant(u"No such key \u201ccolor-scheme\u201d\n"_s) << Answer();
    }
    void answers()
    {
        QFETCH(QVariant, answer);
        QFETCH(Answer, expected);
        QCOMPARE(answer.typeId() == QMetaType::QString ? ColorScheme::fromGsettings(answer.toString())
                                                       : ColorScheme::fromPortalValue(answer),
                 expected);
    }

    void explicitPreferenceSignalsOnlyChanges()
    {
        ColorScheme scheme; // never started: nothing else can answer
        QSignalSpy changed(&scheme, &ColorScheme::changed);
        QVERIFY(!scheme.prefersDark());
        for (const Preference p : {Preference::dark, Preference::dark, Preference::light}) {
            scheme.setPreference(p);
            QCOMPARE(scheme.prefersDark(), p == Preference::dark);
        }
        QCOMPARE(changed.count(), 2);
    }

    // Runs last: from here on this process's session bus is the private one.
    void standInPortalReadThenFollowed()
    {
        const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_bus.start(daemon, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(m_bus.waitForStarted() && m_bus.waitForReadyRead(5000));
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address); // before anything here touches the session bus

        const QString path = u"/org/freedesktop/portal/desktop"_s;
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), u"portal"_s);
        FakePortal portal;
        QVERIFY(bus.registerObject(path, &portal, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        const auto settingChanged = [&](const QString &key, uint value) {
            QDBusMessage signal =
                QDBusMessage::createSignal(path, u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s);
            signal << u"org.freedesktop.appearance"_s << key << wrapped(value, 1);
            return bus.send(signal);
        };

        ColorScheme scheme;
        QSignalSpy changed(&scheme, &ColorScheme::changed);
        scheme.start(); // returns at once; the answer comes through the event loop
        QCOMPARE(scheme.preference(), Preference::none);
        QTRY_VERIFY(scheme.prefersDark());
        QCOMPARE(portal.reads, 1);

        QVERIFY(settingChanged(u"color-scheme"_s, 2));
        QTRY_COMPARE(scheme.preference(), Preference::light);
        // Other settings of the portal pass by.
        QVERIFY(settingChanged(u"accent-color"_s, 1));
        QTest::qWait(100);
        QCOMPARE(scheme.preference(), Preference::light);
        QCOMPARE(changed.count(), 2);
    }
    void cleanupTestCase()
    {
        m_bus.terminate();
        m_bus.waitForFinished(2000);
    }

private:
    QProcess m_bus;
};

QTEST_GUILESS_MAIN(TestColorScheme)
#include "tst_color_scheme.moc"
