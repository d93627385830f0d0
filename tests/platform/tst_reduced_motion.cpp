// The reduce-motion preference: which source decides, and how each answer is read.
#include "platform/reduced_motion.h"

#include <QDBusVariant>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorvik;

class TestReducedMotion : public QObject {
    Q_OBJECT

private slots:
    void firstSourceThatAsksDecides_data();
    void firstSourceThatAsksDecides();
    void portalValue_data();
    void portalValue();
    void gsettingsOutput_data();
    void gsettingsOutput();
    void kdeglobals_data();
    void kdeglobals();
    void kdeglobalsFromConfigHome_data();
    void kdeglobalsFromConfigHome();
};

void TestReducedMotion::firstSourceThatAsksDecides_data()
{
    QTest::addColumn<bool>("portal");
    QTest::addColumn<bool>("gnome");
    QTest::addColumn<bool>("kde");
    QTest::addColumn<QString>("asked"); // which sources were asked, in order
    QTest::addColumn<bool>("expected");
    QTest::newRow("nobody") << false << false << false << QStringLiteral("pgk") << false;
    QTest::newRow("portal") << true << false << false << QStringLiteral("p") << true;
    QTest::newRow("gnome") << false << true << false << QStringLiteral("pg") << true;
    QTest::newRow("kde") << false << false << true << QStringLiteral("pgk") << true;
}

void TestReducedMotion::firstSourceThatAsksDecides()
{
    QFETCH(bool, portal);
    QFETCH(bool, gnome);
    QFETCH(bool, kde);
    QFETCH(QString, asked);
    QFETCH(bool, expected);
    QString order;
    const ReducedMotion::Sources sources{
        [&] { order += QLatin1Char('p'); return portal; },
        [&] { order += QLatin1Char('g'); return gnome; },
        [&] { order += QLatin1Char('k'); return kde; },
    };
    QCOMPARE(ReducedMotion::preferred(sources), expected);
    QCOMPARE(order, asked);
}

void TestReducedMotion::portalValue_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("reduce");
    const auto wrap = [](const QVariant &v) { return QVariant::fromValue(QDBusVariant(v)); };
    QTest::newRow("v(v(u)) 1") << wrap(wrap(QVariant(1u))) << true;
    QTest::newRow("v(v(u)) 0") << wrap(wrap(QVariant(0u))) << false;
    QTest::newRow("v(u) 1") << wrap(QVariant(1u)) << true;
    QTest::newRow("u 2") << QVariant(2u) << false;
    QTest::newRow("string") << wrap(QVariant(QStringLiteral("1"))) << false;
}

void TestReducedMotion::portalValue()
{
    QFETCH(QVariant, value);
    QFETCH(bool, reduce);
    QCOMPARE(ReducedMotion::fromPortalValue(value), reduce);
}

void TestReducedMotion::gsettingsOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("reduce");
    QTest::newRow("animations off") << QStringLiteral("false\n") << true;
    QTest::newRow("animations on") << QStringLiteral("true\n") << false;
    QTest::newRow("error text") << QStringLiteral("No such schema \u201corg.gnome.desktop.interface\u201d\n") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestReducedMotion::gsettingsOutput()
{
    QFETCH(QString, output);
    QFETCH(bool, reduce);
    QCOMPARE(ReducedMotion::fromGsettings(output), reduce);
}

void TestReducedMotion::kdeglobals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("factor");
    QTest::newRow("zero") << QStringLiteral("[General]\nfont=x\n\n[KDE]\nAnimationDurationFactor=0\n")
                          << std::optional(0.0);
    QTest::newRow("half") << QStringLiteral("[KDE]\nAnimationDurationFactor=0.5\n") << std::optional(0.5);
    QTest::newRow("spaces and flags")
        << QStringLiteral("[KDE][$i]\n  AnimationDurationFactor[$i] = 0 \n") << std::optional(0.0);
    QTest::newRow("other group") << QStringLiteral("[KDE Action Restrictions]\nAnimationDurationFactor=0\n")
                                 << std::optional<double>();
    QTest::newRow("later line wins")
        << QStringLiteral("[KDE]\nAnimationDurationFactor=0\n[KDE]\nAnimationDurationFactor=1\n")
        << std::optional(1.0);
    QTest::newRow("not a number") << QStringLiteral("[KDE]\nAnimationDurationFactor=off\n")
                                  << std::optional<double>();
    QTest::newRow("commented") << QStringLiteral("[KDE]\n#AnimationDurationFactor=0\n") << std::optional<double>();
    QTest::newRow("empty") << QString() << std::optional<double>();
}

void TestReducedMotion::kdeglobals()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, factor);
    QCOMPARE(ReducedMotion::animationFactor(text), factor);
}

void TestReducedMotion::kdeglobalsFromConfigHome_data()
{
    QTest::addColumn<QString>("user");   // kdeglobals under XDG_CONFIG_HOME; empty: none
    QTest::addColumn<QString>("system"); // kdeglobals under XDG_CONFIG_DIRS; empty: none
    QTest::addColumn<bool>("reduce");
    const QString off = QStringLiteral("[KDE]\nAnimationDurationFactor=0\n");
    const QString on = QStringLiteral("[KDE]\nAnimationDurationFactor=1\n");
    const QString silent = QStringLiteral("[General]\nColorScheme=Breeze\n");
    QTest::newRow("user off") << off << QString() << true;
    QTest::newRow("user on overrides system off") << on << off << false;
    QTest::newRow("user silent, system off") << silent << off << true;
    QTest::newRow("neither") << QString() << QString() << false;
}

void TestReducedMotion::kdeglobalsFromConfigHome()
{
    QFETCH(QString, user);
    QFETCH(QString, system);
    QFETCH(bool, reduce);
    QTemporaryDir home;
    QTemporaryDir dirs;
    QVERIFY(home.isValid() && dirs.isValid());
    const auto write = [](const QString &path, const QString &text) {
        if (text.isEmpty())
            return;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    };
    write(home.filePath(QStringLiteral("kdeglobals")), user);
    write(dirs.filePath(QStringLiteral("kdeglobals")), system);
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", dirs.path().toLocal8Bit());
    QCOMPARE(ReducedMotion::kdeglobalsFiles().constFirst(), home.filePath(QStringLiteral("kdeglobals")));
    QCOMPARE(ReducedMotion::fromKdeglobalsFiles(ReducedMotion::kdeglobalsFiles()), reduce);
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_DIRS");
}

QTEST_GUILESS_MAIN(TestReducedMotion)
#include "tst_reduced_motion.moc"
