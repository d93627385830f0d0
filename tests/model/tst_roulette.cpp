#include "model/roulette.h"

#include <QtTest>

#include <cmath>
#include <set>

using namespace zorvik;

Q_DECLARE_METATYPE(std::optional<Bet>)

class TestRoulette : public QObject {
    Q_OBJECT

private slots:
    void colorOfNumber_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<std::optional<Bet>>("expected");
        QTest::newRow("zero is green") << 0 << std::optional<Bet>();
        QTest::newRow("32 red") << 32 << std::optional<Bet>(Bet::red);
        QTest::newRow("15 black") << 15 << std::optional<Bet>(Bet::black);
        QTest::newRow("36 red") << 36 << std::optional<Bet>(Bet::red);
        QTest::newRow("35 black") << 35 << std::optional<Bet>(Bet::black);
        QTest::newRow("37 out of range is black") << 37 << std::optional<Bet>(Bet::black);
        QTest::newRow("-1 out of range is black") << -1 << std::optional<Bet>(Bet::black);
    }
    void colorOfNumber()
    {
        QFETCH(int, number);
        QFETCH(std::optional<Bet>, expected);
        QCOMPARE(Roulette::color(number), expected);
    }

    void winsRule_data()
    {
        QTest::addColumn<int>("bet");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("expected");
        QTest::newRow("red on zero") << int(Bet::red) << 0 << false;
        QTest::newRow("black on zero") << int(Bet::black) << 0 << false;
        QTest::newRow("red on 1") << int(Bet::red) << 1 << true;
        QTest::newRow("black on 1") << int(Bet::black) << 1 << false;
        QTest::newRow("black on 2") << int(Bet::black) << 2 << true;
        QTest::newRow("red on 2") << int(Bet::red) << 2 << false;
    }
    void winsRule()
    {
        QFETCH(int, bet);
        QFETCH(int, number);
        QFETCH(bool, expected);
        QCOMPARE(Roulette::wins(Bet(bet), number), expected);
    }

    void pocketLayout()
    {
        const std::set<int> distinct(Roulette::pockets.begin(), Roulette::pockets.end());
        QCOMPARE(distinct.size(), std::size_t(37));
        QCOMPARE(*distinct.begin(), 0);
        QCOMPARE(*distinct.rbegin(), 36);
        QCOMPARE(Roulette::pockets.front(), 0);
        QCOMPARE(Roulette::pockets.back(), 26);
        QCOMPARE(Roulette::pockets[1], 32);
        // Red and black alternate all the way round after the zero.
        for (std::size_t i = 2; i < Roulette::pockets.size(); ++i)
            QVERIFY2(Roulette::color(Roulette::pockets[i]) != Roulette::color(Roulette::pockets[i - 1]),
                     qPrintable(QString::number(i)));
        int redCount = 0;
        for (int n = 0; n <= 36; ++n)
            redCount += Roulette::color(n) == Bet::red ? 1 : 0;
        QCOMPARE(redCount, 18);
    }

    void angles_data()
    {
        constexpr double pi = 3.141592653589793;
        const double tau = Roulette::tau;
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("expected");
        QTest::newRow("normalized -0.1") << "normalized" << -0.1 << tau - 0.1;
        QTest::newRow("normalized tau") << "normalized" << tau << 0.0;
        QTest::newRow("normalized 7pi") << "normalized" << 7 * pi << pi;
        QTest::newRow("normalized -7pi") << "normalized" << -7 * pi << pi;
        QTest::newRow("normalized -tau") << "normalized" << -tau << 0.0;
        QTest::newRow("delta 3pi/2") << "delta" << 3 * pi / 2 << -pi / 2;
        QTest::newRow("delta 0.1-tau") << "delta" << 0.1 - tau << 0.1;
        QTest::newRow("delta -3pi/2") << "delta" << -3 * pi / 2 << pi / 2;
        QTest::newRow("ease -1") << "ease" << -1.0 << 0.0;
        QTest::newRow("ease 0") << "ease" << 0.0 << 0.0;
        QTest::newRow("ease 0.5") << "ease" << 0.5 << 0.875;
        QTest::newRow("ease 1") << "ease" << 1.0 << 1.0;
        QTest::newRow("ease 2") << "ease" << 2.0 << 1.0;
        QTest::newRow("ease NaN") << "ease" << std::nan("") << 0.0;
        QTest::newRow("ease -inf") << "ease" << -HUGE_VAL << 0.0;
        QTest::newRow("ease +inf") << "ease" << HUGE_VAL << 1.0;
    }
    void angles()
    {
        QFETCH(QString, function);
        QFETCH(double, input);
        QFETCH(double, expected);
        double got = 0;
        if (function == u"normalized")
            got = Roulette::normalized(input);
        else if (function == u"delta")
            got = Roulette::delta(input);
        else
            got = Roulette::ease(input);
        QVERIFY2(std::fabs(got - expected) < 1e-12,
                 qPrintable(QStringLiteral("%1 vs %2").arg(got, 0, 'g', 17).arg(expected, 0, 'g', 17)));
    }

    // Over a sweep of angles the wrapped values stay inside their ranges.
    void angleRanges()
    {
        for (double a = -50.0; a <= 50.0; a += 0.0137) {
            const double n = Roulette::normalized(a);
            QVERIFY(n >= 0.0 && n < Roulette::tau);
            QVERIFY(std::fabs(Roulette::delta(a)) <= 3.141592653589793);
        }
    }

    void betNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<Bet>>("expected");
        QTest::newRow("Red") << "Red" << std::optional<Bet>(Bet::red);
        QTest::newRow("Black") << "Black" << std::optional<Bet>(Bet::black);
        QTest::newRow("red lower case") << "red" << std::optional<Bet>();
        QTest::newRow("padded") << " Red" << std::optional<Bet>();
        QTest::newRow("empty") << "" << std::optional<Bet>();
        QTest::newRow("Green") << "Green" << std::optional<Bet>();
    }
    void betNames()
    {
        QFETCH(QString, name);
        QFETCH(std::optional<Bet>, expected);
        const QByteArray utf8 = name.toUtf8();
        const auto parsed = betFromName(std::string_view(utf8.constData(), size_t(utf8.size())));
        QCOMPARE(parsed, expected);
        if (parsed)
            QCOMPARE(QString::fromUtf8(betName(*parsed).data(), qsizetype(betName(*parsed).size())), name);
    }

    void betOrder()
    {
        QCOMPARE(allBets[0], Bet::red);
        QCOMPARE(allBets[1], Bet::black);
    }
};

QTEST_APPLESS_MAIN(TestRoulette)
#include "tst_roulette.moc"
