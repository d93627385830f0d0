// The reduce-motion preference: which source decides, and how each answer is read.
#include "platform/reduced_motion.h"

#include <QDBusVariant>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;
using Factor = std::optional<double>;

class TestReducedMotion : public QObject {
    Q_OBJECT

private slots:
    void firstSourceThatAsksDecides_data()
    {
        QTest::addColumn<QString>("answering"); // which sources ask to reduce motion
        QTest::addColumn<QString>("asked");     // which sources were asked, in order
        QTest::newRow("nobody") << u""_s << u"pgk"_s;
        QTest::newRow("portal") << u"pgk"_s << u"p"_s;
        QTest::newRow("gnome") << u"g"_s << u"pg"_s;
        QTest::newRow("kde") << u"k"_s << u"pgk"_s;
    }
    void firstSourceThatAsksDecides()
    {
        QFETCH(QString, answering);
        QFETCH(QString, asked);
        QString order;
        const auto source = [&](QChar name) {
            return [&, name] {
                order += name;
                return answering.contains(name);
            };
        };
        const ReducedMotion::Sources sources{source(u'p'), source(u'g'), source(u'k')};
        QCOMPARE(ReducedMotion::preferred(sources), !answering.isEmpty());
        QCOMPARE(order, asked);
    }

    // The portal's value, plain or wrapped in variants, and gsettings' output (a plain string).
    void answers_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<bool>("reduce");
        const auto wrap = [](const QVariant &v) { return QVariant::fromValue(QDBusVariant(v)); };
        QTest::newRow("portal v(v(u)) 1") << wrap(wrap(1u)) << true;
        QTest::newRow("portal v(v(u)) 0") << wrap(wrap(0u)) << false;
        QTest::newRow("portal u 2") << QVariant(2u) << false;
        QTest::newRow("portal string") << wrap(u"1"_s) << false;
        QTest::newRow("gsettings: animations off") << QVariant(u"false\n"_s) << true;
        QTest::newRow("gsettings: animations on") << QVariant(u"true\n"_s) << false;
        QTest::newRow("gsettings: error text")
            << QVariant(u"No such schema \u201corg.gnome.desktop.interface\u201d\n"_s) << false;
    }
    void answers()
    {
        QFETCH(QVariant, answer);
        QFETCH(bool, reduce);
        QCOMPARE(answer.typeId() == QMetaType::QString ? ReducedMotion::fromGsettings(answer.toString())
                                                       : ReducedMotion::fromPortalValue(answer),
                 reduce);
    }

    void kdeglobals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Factor>("factor");
        QTest::newRow("zero") << u"[General]\nfont=x\n\n[KDE]\nAnimationDurationFactor=0\n"_s << Factor(0.0);
        QTest::newRow("half") << u"[KDE]\nAnimationDurationFactor=0.5\n"_s << Factor(0.5);
        QTest::newRow("spaces and flags") << u"[KDE][$i]\n  AnimationDurationFactor[$i] = 0 \n"_s << Factor(0.0);
        QTest::newRow("other group") << u"[KDE Action Restrictions]\nAnimationDurationFactor=0\n"_s << Factor();
        QTest::newRow("later line wins")
            << u"[KDE]\nAnimationDurationFactor=0\n[KDE]\nAnimationDurationFactor=1\n"_s << Factor(1.0);
        QTest::newRow("not a number") << u"[KDE]\nAnimationDurationFactor=off\n"_s << Factor();
        QTest::newRow("commented") << u"[KDE]\n#AnimationDurationFactor=0\n"_s << Factor();
    }
    void kdeglobals()
    {
        QFETCH(QString, text);
        QFETCH(Factor, factor);
        QCOMPARE(ReducedMotion::animationFactor(text), factor);
    }

    void kdeglobalsFromConfigHome_data()
    {
        QTest::addColumn<QString>("user");   // kdeglobals under XDG_CONFIG_HOME; empty: none
        QTest::addColumn<QString>("system"); // kdeglobals under XDG_CONFIG_DIRS; empty: none
        QTest::addColumn<bool>("reduce");
        const QString off = u"[KDE]\nAnimationDurationFactor=0\n"_s;
        const QString on = u"[KDE]\nAnimationDurationFactor=1\n"_s;
        QTest::newRow("user off") << off << QString() << true;
        QTest::newRow("user on overrides system off") << on << off << false;
        QTest::newRow("user silent, system off") << u"[General]\nColorScheme=Breeze\n"_s << off << true;
        QTest::newRow("neither") << QString() << QString() << false;
    }
    void kdeglobalsFromConfigHome()
    {
        QFETCH(QString, user);
        QFETCH(QString, system);
        QFETCH(bool, reduce);
        QTemporaryDir home, dirs;
        QVERIFY(home.isValid() && dirs.isValid());
        for (const auto &[dir, text] : {std::pair{&home, user}, std::pair{&dirs, system}}) {
            QFile file(dir->filePath(u"kdeglobals"_s));
            QVERIFY(text.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0));
        }
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", dirs.path().toLocal8Bit());
        QCOMPARE(ReducedMotion::fromKdeglobalsFiles(ReducedMotion::kdeglobalsFiles()), reduce);
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_CONFIG_DIRS");
    }
};

QTEST_GUILESS_MAIN(TestReducedMotion)
#include "tst_reduced_motion.moc"
