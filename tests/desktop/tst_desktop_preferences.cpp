// The desktop's preferences where there is no settings portal: gsettings' output and KDE's
// kdeglobals (the user's, then the system's). Through a stand-in portal, in Debian 12's reply
// shape: tests/e2e/test_accessibility.py.
#include "desktop/color_scheme.h"
#include "desktop/kdeglobals.h"
#include "desktop/reduced_motion.h"

#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;
using Answer = std::optional<ColorScheme::Preference>;

class TestDesktopPreferences : public QObject {
    Q_OBJECT

private slots:
    void fallbacks_data()
    {
        QTest::addColumn<QString>("gsettings"); // or, after "kde:", the user's and the system's kdeglobals
        QTest::addColumn<Answer>("scheme");
        QTest::addColumn<bool>("reduce");
        const QString kdeOff = u"[KDE]\nAnimationDurationFactor=0\n"_s;
        QTest::newRow("prefer-dark") << u"'prefer-dark'\n"_s << Answer(ColorScheme::Preference::dark) << false;
        QTest::newRow("animations off") << u"false\n"_s << Answer() << true;
        QTest::newRow("kde: spaces and flags") << u"kde:[KDE][$i]\n  AnimationDurationFactor[$i] = 0 \n|x"_s
                                               << Answer() << true;
        QTest::newRow("kde: the system's where the user's is silent")
            << u"kde:[General]\nColorScheme=Breeze\n|"_s + kdeOff << Answer() << true;
    }
    void fallbacks()
    {
        QFETCH(QString, gsettings);
        QFETCH(Answer, scheme);
        QFETCH(bool, reduce);
        if (!gsettings.startsWith(u"kde:")) {
            QCOMPARE(ColorScheme::fromGsettings(gsettings), scheme);
            QCOMPARE(ReducedMotion::fromGsettings(gsettings).value_or(false), reduce);
            return;
        }
        QTemporaryDir user, system;
        const QStringList texts = gsettings.mid(4).split(u'|');
        for (const auto &[dir, text] : {std::pair{&user, texts[0]}, std::pair{&system, texts[1]}}) {
            QFile file(dir->filePath(u"kdeglobals"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
        }
        qputenv("XDG_CONFIG_HOME", user.path().toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", system.path().toLocal8Bit());
        QCOMPARE(Kdeglobals::animationFactor(Kdeglobals::files()) == 0.0, reduce);
    }

    // Quitting while gsettings has not answered yet: the preferences go at once, and the
    // process killed on the way out calls nothing on them.
    void goneBeforeGsettingsAnswers()
    {
        QTemporaryDir bin;
        QFile stub(bin.filePath(u"gsettings"_s));
        QVERIFY(stub.open(QIODevice::WriteOnly) && stub.write("#!/bin/sh\ntouch \"$0.ran\"\nexec sleep 30\n") > 0);
        stub.close();
        QVERIFY(stub.setPermissions(stub.permissions() | QFile::ExeOwner));
        qputenv("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/zorvik-no-bus"); // straight to gsettings
        QElapsedTimer clock;
        {
            ColorScheme scheme;
            ReducedMotion motion;
            scheme.start();
            motion.start();
            QVERIFY(QTest::qWaitFor([&] { return QFile::exists(stub.fileName() + u".ran"_s); }, 10000));
            clock.start();
        }
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestDesktopPreferences)
#include "tst_desktop_preferences.moc"
