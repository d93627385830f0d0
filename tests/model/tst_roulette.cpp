// The pure model: colours and bets, angle arithmetic, and the plan and frames of a spin.
#include "model/roulette.h"
#include "model/spin.h"

#include <QtTest>

#include <cmath>
#include <random>
#include <set>

using namespace zorvik;

Q_DECLARE_METATYPE(std::optional<Bet>)

namespace {
constexpr double pi = 3.141592653589793;

bool near(double a, double b, double eps = 1e-9) { return std::fabs(a - b) <= eps; }
} // namespace

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

    // Exactly "Red" or "Black" (case-sensitive, untrimmed), both ways.
    void betNames()
    {
        QVERIFY(betName(Bet::red) == "Red" && betName(Bet::black) == "Black");
        for (const Bet bet : allBets)
            QCOMPARE(betFromName(betName(bet)), std::optional(bet));
        QVERIFY(!betFromName("red") && !betFromName(" Red") && !betFromName(""));
    }

    // Every number once, the zero first, then red and black alternating all the way round.
    void pocketLayout()
    {
        const auto &pockets = Roulette::pockets;
        const std::set<int> distinct(pockets.begin(), pockets.end());
        QVERIFY(distinct.size() == 37 && *distinct.rbegin() == 36 && pockets.front() == 0);
        for (std::size_t i = 2; i < pockets.size(); ++i)
            QVERIFY2(Roulette::color(pockets[i]) != Roulette::color(pockets[i - 1]), qPrintable(QString::number(i)));
    }

    void angles_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("expected");
        QTest::newRow("normalized -0.1") << "normalized" << -0.1 << Roulette::tau - 0.1;
        QTest::newRow("normalized tau") << "normalized" << Roulette::tau << 0.0;
        QTest::newRow("normalized -7pi") << "normalized" << -7 * pi << pi;
        QTest::newRow("delta 3pi/2") << "delta" << 3 * pi / 2 << -pi / 2;
        QTest::newRow("ease 0.5") << "ease" << 0.5 << 0.875;
        QTest::newRow("ease 2") << "ease" << 2.0 << 1.0;
        QTest::newRow("ease NaN") << "ease" << std::nan("") << 0.0;
        QTest::newRow("ease -inf") << "ease" << -HUGE_VAL << 0.0;
    }
    void angles()
    {
        QFETCH(QString, function);
        QFETCH(double, input);
        QFETCH(double, expected);
        const double got = function == u"normalized" ? Roulette::normalized(input)
            : function == u"delta"                   ? Roulette::delta(input)
                                                     : Roulette::ease(input);
        QVERIFY2(near(got, expected, 1e-12), qPrintable(QString::number(got, 'g', 17)));
    }

    // Where the wheel stops and how long it takes; where the ball stops, landsOnItsPocket checks.
    void plan_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("velocity");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<double>("wheelEnd");
        QTest::addColumn<double>("duration");
        QTest::newRow("velocity 7") << 0.0 << 7.0 << false << 4 * pi + 3.85 << 5.5;
        QTest::newRow("reduced: same path") << 0.0 << 7.0 << true << 4 * pi + 3.85 << 0.65;
        QTest::newRow("velocity -20 capped at 14") << 2.0 << -20.0 << false << 2.0 - (4 * pi + 7.7) << 6.2;
        QTest::newRow("NaN velocity counts as still") << 0.0 << std::nan("") << false << 4 * pi << 4.8;
    }
    void plan()
    {
        QFETCH(double, start);
        QFETCH(double, velocity);
        QFETCH(bool, reduced);
        QFETCH(double, wheelEnd);
        QFETCH(double, duration);
        const Spin spin(5, start, velocity, reduced);
        QVERIFY(spin.wheelStart == start && spin.ballStart == -pi / 2);
        QVERIFY2(near(spin.wheelEnd, wheelEnd), qPrintable(QString::number(spin.wheelEnd, 'g', 17)));
        QVERIFY(near(spin.duration, duration, 1e-12));
    }

    // Whatever the pocket, start and flick, the ball runs against the wheel and lands on the
    // pocket's centre after four to five turns.
    void landsOnItsPocket()
    {
        std::mt19937_64 rng(20261205);
        std::uniform_real_distribution<double> startDist(-100.0, 100.0);
        std::uniform_real_distribution<double> velocityDist(-30.0, 30.0);
        for (int round = 0; round < 20000; ++round) {
            const qint64 index = qint64(rng() % 37);
            const double velocity = round % 50 == 0 ? 0.0 : velocityDist(rng);
            const bool reduced = round % 3 == 0;
            const Spin spin(index, startDist(rng), velocity, reduced);
            const double pocketAngle = double(index) * Roulette::tau / 37.0 - pi / 2;
            const double turns = (spin.ballEnd - (pocketAngle + spin.wheelEnd)) / Roulette::tau;
            QVERIFY2(near(turns, std::round(turns)), qPrintable(QString::number(turns, 'g', 17)));
            const double travel = std::fabs(spin.ballEnd - spin.ballStart);
            QVERIFY2(travel >= 8 * pi - 1e-9 && travel < 10 * pi, qPrintable(QString::number(travel)));
            QVERIFY((spin.wheelEnd - spin.wheelStart) * (spin.ballEnd - spin.ballStart) < 0);
            QVERIFY(spin.duration >= (reduced ? 0.65 : 4.8) && spin.duration <= (reduced ? 0.65 : 6.2));
            // The final frame puts the ball over the pocket's centre on the resting ring.
            const Spin::Frame end = spin.frame(1.0);
            QVERIFY(std::fabs(Roulette::delta(end.ball - (end.wheel + pocketAngle))) < 1e-9);
            QCOMPARE(end.radius, 129.0);
        }
    }

    void frames_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("eased"); // fraction of the way wheel and ball have gone
        QTest::addColumn<double>("radius");
        QTest::newRow("negative") << -0.2 << 0.0 << 146.0;
        QTest::newRow("NaN") << std::nan("") << 0.0 << 146.0;
        QTest::newRow("half way") << 0.5 << 0.875 << 146.0;
        QTest::newRow("mid drop") << 0.825 << 1.0 - 0.175 * 0.175 * 0.175 << 132.125;
        QTest::newRow("+inf") << HUGE_VAL << 1.0 << 129.0;
    }
    void frames()
    {
        QFETCH(double, t);
        QFETCH(double, eased);
        QFETCH(double, radius);
        const Spin spin(11, 0.4, -9.0);
        const Spin::Frame f = spin.frame(t);
        QVERIFY(near(f.wheel, spin.wheelStart + eased * (spin.wheelEnd - spin.wheelStart)));
        QVERIFY(near(f.ball, spin.ballStart + eased * (spin.ballEnd - spin.ballStart)));
        QVERIFY2(near(f.radius, radius, 1e-12), qPrintable(QString::number(f.radius, 'g', 17)));
    }

    // The bounce dips below the resting ring but never leaves the band 127..148.
    void bounce()
    {
        const Spin spin(0, 0.0, 7.0);
        QVERIFY(std::fabs(spin.frame(0.9).radius - 128.84) < 0.01);
        for (double t = 0.0; t <= 1.0; t += 0.001)
            QVERIFY(spin.frame(t).radius > 127.0 && spin.frame(t).radius < 148.0);
    }
};

QTEST_APPLESS_MAIN(TestRoulette)
#include "tst_roulette.moc"
