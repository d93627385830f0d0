// The desktop's preferences. The colour scheme as the portal and gsettings give it, and
// ColorScheme against a stand-in portal on a private bus: Debian 12's reply shape v(v(u)), then
// SettingChanged. Reduced motion from the portal, GNOME and KDE's kdeglobals.
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;
using Preference = ColorScheme::Preference;
using Answer = std::optional<Preference>;

namespace {
QVariant wrapped(QVariant value, int times)
{
    while (times-- > 0)
        value = QVariant::fromValue(QDBusVariant(value));
    return value;
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

class TestDesktopPreferences : public QObject {
    Q_OBJECT

private slots:
    // The portal's value, plain or wrapped in variants, and gsettings' output (a plain string), as
    // the colour scheme and the reduced-motion readers take them.
    void answers_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<Answer>("scheme");
        QTest::addColumn<bool>("reduce");
        const Answer dark = Preference::dark, light = Preference::light, none = Preference::none, unknown;
        QTest::newRow("portal v(v(u)) 1") << wrapped(1u, 2) << dark << true;
        QTest::newRow("portal v(v(u)) 0") << wrapped(0u, 2) << none << false;
        QTest::newRow("portal v(u) 2") << wrapped(2u, 1) << light << false;
        QTest::newRow("portal u 1") << QVariant(1u) << dark << true;
        QTest::newRow("portal negative int") << wrapped(-1, 1) << unknown << false;
        QTest::newRow("portal string") << wrapped(u"1"_s, 2) << unknown << false;
        QTest::newRow("gsettings prefer-dark") << QVariant(u"'prefer-dark'\n"_s) << dark << false;
        QTest::newRow("gsettings prefer-light") << QVariant(u"'prefer-light'\n"_s) << light << false;
        QTest::newRow("gsettings default") << QVariant(u"'default'\n"_s) << none << false;
        QTest::newRow("gsettings: animations off") << QVariant(u"false\n"_s) << unknown << true;
        QTest::newRow("gsettings: no such key") << QVariant(u"No such key \u201cx\u201d\n"_s) << unknown << false;
    }
    void answers()
    {
        QFETCH(QVariant, answer);
        QFETCH(Answer, scheme);
        QFETCH(bool, reduce);
        const bool portal = answer.typeId() != QMetaType::QString;
        QCOMPARE(portal ? ColorScheme::fromPortalValue(answer) : ColorScheme::fromGsettings(answer.toString()), scheme);
        QCOMPARE((portal ? ReducedMotion::fromPortalValue(answer) : ReducedMotion::fromGsettings(answer.toString()))
                     .value_or(false),
                 reduce);
    }

    void firstSourceThatAnswersDecides_data()
    {
        // Each source's answer: '+' reduce, '-' do not, ' ' no say; in the order portal, GNOME, KDE.
        QTest::addColumn<QString>("answers");
        QTest::addColumn<bool>("reduce");
        QTest::newRow("nobody answers") << u"   "_s << false;
        QTest::newRow("portal reduces") << u"+--"_s << true;
        QTest::newRow("portal says no, GNOME would") << u"-+ "_s << false;
        QTest::newRow("GNOME first to answer") << u" + "_s << true;
        QTest::newRow("KDE alone") << u"  +"_s << true;
        QTest::newRow("KDE says no") << u"  -"_s << false;
    }
    void firstSourceThatAnswersDecides()
    {
        QFETCH(QString, answers);
        QFETCH(bool, reduce);
        ReducedMotion motion; // never started: only these answers count
        // Given last source first, so that the order of arrival cannot be what decides.
        for (int i = 2; i >= 0; --i) {
            const QChar a = answers[i];
            motion.setAnswer(ReducedMotion::Source(i), a == u' ' ? std::nullopt : std::optional<bool>(a == u'+'));
        }
        QCOMPARE(motion.preferred(), reduce);
    }

    // KDE's AnimationDurationFactor of 0 reduces motion: the user's kdeglobals (under
    // XDG_CONFIG_HOME) first, the system's (XDG_CONFIG_DIRS) where the user's says nothing.
    void kdeglobals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("system");
        QTest::addColumn<bool>("reduce");
        const QString off = u"[KDE]\nAnimationDurationFactor=0\n"_s, on = u"[KDE]\nAnimationDurationFactor=1\n"_s;
        QTest::newRow("user off") << u"[General]\nfont=x\n\n[KDE]\nAnimationDurationFactor=0\n"_s << QString() << true;
        QTest::newRow("spaces and flags") << u"[KDE][$i]\n  AnimationDurationFactor[$i] = 0 \n"_s << on << true;
        QTest::newRow("later line wins") << off + on << QString() << false;
        QTest::newRow("user on overrides system off") << on << off << false;
        QTest::newRow("user silent, system off") << u"[General]\nColorScheme=Breeze\n"_s << off << true;
        QTest::newRow("other group says nothing")
            << u"[KDE Action Restrictions]\nAnimationDurationFactor=0\n"_s << on << false;
        QTest::newRow("not a number says nothing") << u"[KDE]\nAnimationDurationFactor=off\n"_s << on << false;
        QTest::newRow("neither") << QString() << QString() << false;
    }
    void kdeglobals()
    {
        QFETCH(QString, user);
        QFETCH(QString, system);
        QFETCH(bool, reduce);
        QTemporaryDir home, dirs;
        for (const auto &[dir, text] : {std::pair{&home, user}, std::pair{&dirs, system}}) {
            QFile file(dir->filePath(u"kdeglobals"_s));
            QVERIFY(text.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0));
        }
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", dirs.path().toLocal8Bit());
        QCOMPARE(ReducedMotion::fromKdeglobalsFiles(ReducedMotion::kdeglobalsFiles()).value_or(false), reduce);
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
        QVERIFY(scheme.preference() == Preference::none && !scheme.prefersDark()); // light until answered
        QTRY_VERIFY(scheme.prefersDark());
        QCOMPARE(portal.reads, 1);

        QVERIFY(settingChanged(u"color-scheme"_s, 2));
        QTRY_COMPARE(scheme.preference(), Preference::light);
        // Other settings of the portal pass by.
        QVERIFY(settingChanged(u"accent-color"_s, 1));
        QTest::qWait(100);
        QCOMPARE(scheme.preference(), Preference::light);
        QCOMPARE(changed.count(), 2);
        // The panel's own appearance setting takes over; only a change is signalled.
        for (const Preference p : {Preference::light, Preference::dark, Preference::dark})
            scheme.setPreference(p);
        QVERIFY(scheme.prefersDark());
        QCOMPARE(changed.count(), 3);

        // Reduced motion: read from the same portal without waiting, then followed.
        ReducedMotion motion;
        motion.start();
        QVERIFY(!motion.preferred());
        QTRY_COMPARE(portal.reads, 4); // its own key, GNOME's and KDE's
        QVERIFY(settingChanged(u"reduced-motion"_s, 1));
        QTRY_VERIFY(motion.preferred());
    }
    void cleanupTestCase()
    {
        m_bus.terminate();
        m_bus.waitForFinished(2000);
    }

private:
    QProcess m_bus;
};

QTEST_GUILESS_MAIN(TestDesktopPreferences)
#include "tst_color_scheme.moc"
