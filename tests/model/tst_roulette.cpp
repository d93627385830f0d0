#include "model/roulette.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <set>

using namespace zorvik;

Q_DECLARE_METATYPE(std::optional<Bet>)

class TestRoulette : public QObject {
    Q_OBJECT

private slots:
    // The colour of a number, and which bet it pays.
    void colorAndWins_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<std::optional<Bet>>("expected");
        QTest::newRow("zero is green") << 0 << std::optional<Bet>();
        QTest::newRow("32 red") << 32 << std::optional(Bet::red);
        QTest::newRow("15 black") << 15 << std::optional(Bet::black);
        QTest::newRow("37 out of range is black") << 37 << std::optional(Bet::black);
    }
    void colorAndWins()
    {
        QFETCH(int, number);
        QFETCH(std::optional<Bet>, expected);
        QCOMPARE(Roulette::color(number), expected);
        QCOMPARE(Roulette::wins(Bet::red, number), expected == Bet::red);
        QCOMPARE(Roulette::wins(Bet::black, number), expected == Bet::black);
    }

    void pocketLayout()
    {
        const auto &pockets = Roulette::pockets;
        const std::set<int> distinct(pockets.begin(), pockets.end());
        QCOMPARE(distinct.size(), std::size_t(37));
        QCOMPARE(*distinct.rbegin(), 36);
        QCOMPARE(pockets.front(), 0);
        QCOMPARE(pockets[1], 32);
        QCOMPARE(pockets.back(), 26);
        // Red and black alternate all the way round after the zero, 18 of each.
        for (std::size_t i = 2; i < pockets.size(); ++i)
            QVERIFY2(Roulette::color(pockets[i]) != Roulette::color(pockets[i - 1]), qPrintable(QString::number(i)));
        QCOMPARE(std::count_if(pockets.begin(), pockets.end(), [](int n) { return Roulette::color(n) == Bet::red; }),
                 std::ptrdiff_t(18));
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
        QTest::newRow("normalized -tau") << "normalized" << -tau << 0.0;
        QTest::newRow("normalized 7pi") << "normalized" << 7 * pi << pi;
        QTest::newRow("normalized -7pi") << "normalized" << -7 * pi << pi;
        QTest::newRow("delta 3pi/2") << "delta" << 3 * pi / 2 << -pi / 2;
        QTest::newRow("delta -3pi/2") << "delta" << -3 * pi / 2 << pi / 2;
        QTest::newRow("delta 0.1-tau") << "delta" << 0.1 - tau << 0.1;
        QTest::newRow("ease -1") << "ease" << -1.0 << 0.0;
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
        const double got = function == u"normalized" ? Roulette::normalized(input)
            : function == u"delta"                   ? Roulette::delta(input)
                                                     : Roulette::ease(input);
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
        QTest::newRow("Red") << "Red" << std::optional(Bet::red);
        QTest::newRow("Black") << "Black" << std::optional(Bet::black);
        QTest::newRow("red lower case") << "red" << std::optional<Bet>();
        QTest::newRow("padded") << " Red" << std::optional<Bet>();
        QTest::newRow("empty") << "" << std::optional<Bet>();
    }
    void betNames()
    {
        QFETCH(QString, name);
        QFETCH(std::optional<Bet>, expected);
        const std::string utf8 = name.toStdString();
        const auto parsed = betFromName(utf8);
        QCOMPARE(parsed, expected);
        if (parsed)
            QCOMPARE(std::string(betName(*parsed)), utf8);
    }
};

QTEST_APPLESS_MAIN(TestRoulette)
#include "tst_roulette.moc"
