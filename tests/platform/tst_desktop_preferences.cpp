// The desktop's preferences as its sources give them: the settings portal's value (Debian 12
// wraps it twice, v(v(u))), gsettings' output and KDE's kdeglobals; the first source that
// answers decides. The whole path through a stand-in portal: tests/e2e/test_accessibility.py.
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"

#include <QDBusVariant>
#include <QFile>
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
        QTest::newRow("portal v(u) 2") << wrapped(2u, 1) << light << false;
        QTest::newRow("portal u 0") << QVariant(0u) << none << false;
        QTest::newRow("portal string") << wrapped(u"1"_s, 2) << unknown << false;
        QTest::newRow("gsettings prefer-dark") << QVariant(u"'prefer-dark'\n"_s) << dark << false;
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

    // Each source's answer: '+' reduce, '-' do not, ' ' no say; in the order portal, GNOME, KDE,
    // given last source first so that the order of arrival cannot be what decides.
    void firstSourceThatAnswersDecides()
    {
        for (const auto &[answers, reduce] : {std::pair{"   ", false}, {"-+ ", false}, {" + ", true}, {"  +", true}}) {
            ReducedMotion motion; // never started: only these answers count
            for (int i = 2; i >= 0; --i)
                motion.setAnswer(ReducedMotion::Source(i),
                                 answers[i] == ' ' ? std::nullopt : std::optional<bool>(answers[i] == '+'));
            QVERIFY2(motion.preferred() == reduce, answers);
        }
    }

    // KDE's AnimationDurationFactor of 0 reduces motion: the user's kdeglobals (under
    // XDG_CONFIG_HOME) first, the system's (XDG_CONFIG_DIRS) where the user's says nothing.
    void kdeglobals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("system");
        QTest::addColumn<bool>("reduce");
        const QString off = u"[KDE]\nAnimationDurationFactor=0\n"_s, on = u"[KDE]\nAnimationDurationFactor=1\n"_s;
        QTest::newRow("spaces and flags") << u"[KDE][$i]\n  AnimationDurationFactor[$i] = 0 \n"_s << on << true;
        QTest::newRow("user on overrides system off") << on << off << false;
        QTest::newRow("user silent, system off") << u"[General]\nColorScheme=Breeze\n"_s << off << true;
        QTest::newRow("other group says nothing")
            << u"[KDE Action Restrictions]\nAnimationDurationFactor=0\n"_s << on << false;
    }
    void kdeglobals()
    {
        QFETCH(QString, user);
        QFETCH(QString, system);
        QFETCH(bool, reduce);
        QTemporaryDir home, dirs;
        for (const auto &[dir, text] : {std::pair{&home, user}, std::pair{&dirs, system}}) {
            QFile file(dir->filePath(u"kdeglobals"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
        }
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", dirs.path().toLocal8Bit());
        QCOMPARE(ReducedMotion::fromKdeglobalsFiles(ReducedMotion::kdeglobalsFiles()).value_or(false), reduce);
    }
};

QTEST_GUILESS_MAIN(TestDesktopPreferences)
#include "tst_desktop_preferences.moc"
