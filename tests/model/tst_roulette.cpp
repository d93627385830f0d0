// The pure model: the wheel's numbers and colours, and the plan of a spin.
#include "model/roulette.h"
#include "model/spin.h"

#include <QtTest>

#include <cmath>
#include <numbers>
#include <random>

using namespace zorvik;

namespace {
using std::numbers::pi;

bool near(double a, double b, double eps = 1e-9) { return std::fabs(a - b) <= eps; }
} // namespace

class TestRoulette : public QObject {
    Q_OBJECT

private slots:
    // The single-zero wheel in its order, the colours, and the bet names both ways.
    void fixedValues()
    {
        QCOMPARE(Roulette::pockets, (std::array<int, 37>{0,  32, 15, 19, 4,  21, 2,  25, 17, 34, 6,  27, 13,
                                                         36, 11, 30, 8,  23, 10, 5,  24, 16, 33, 1,  20, 14,
                                                         31, 9,  22, 18, 29, 7,  28, 12, 35, 3,  26}));
        QCOMPARE(Roulette::reds, (std::array<int, 18>{1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}));
        QVERIFY(!Roulette::color(0) && Roulette::color(32) == Bet::red && Roulette::color(15) == Bet::black);
        QVERIFY(betName(Bet::red) == "Red" && betName(Bet::black) == "Black");
        QVERIFY(betFromName("Red") == Bet::red && betFromName("Black") == Bet::black);
        QVERIFY(!betFromName("red") && !betFromName(" Red") && !betFromName(""));
        // Where the wheel stops and how long it takes: two turns and 0.55 rad per rad/s of flick
        // (at most 14), in 4.8 s and 0.1 s per rad/s, or 0.65 s with reduced motion.
        const auto plan = [](double start, double velocity, bool reduced = false) {
            const Spin spin(5, start, velocity, reduced);
            return std::pair{spin.wheelEnd - start, spin.duration};
        };
        for (const auto &[got, expected] : {std::pair{plan(0, 7), std::pair{4 * pi + 3.85, 5.5}},
                                            {plan(0, 7, true), {4 * pi + 3.85, 0.65}},
                                            {plan(2, -20), {-4 * pi - 7.7, 6.2}},
                                            {plan(0, std::nan("")), {4 * pi, 4.8}}})
            QVERIFY(near(got.first, expected.first) && near(got.second, expected.second));
    }

    // Whatever the pocket, start and flick, the ball runs against the wheel and lands on the
    // drawn pocket's centre after four to five turns.
    void landsOnItsPocket()
    {
        std::mt19937_64 rng(20261205);
        std::uniform_real_distribution<double> startDist(-100.0, 100.0), velocityDist(-30.0, 30.0);
        for (int round = 0; round < 20000; ++round) {
            const qint64 index = qint64(rng() % 37);
            const Spin spin(index, startDist(rng), round % 50 == 0 ? 0.0 : velocityDist(rng), round % 3 == 0);
            const double pocketAngle = double(index) * Roulette::tau / 37.0 - pi / 2;
            const double travel = std::fabs(spin.ballEnd - spin.ballStart);
            QVERIFY2(travel >= 8 * pi - 1e-9 && travel < 10 * pi, qPrintable(QString::number(travel)));
            QVERIFY((spin.wheelEnd - spin.wheelStart) * (spin.ballEnd - spin.ballStart) < 0);
            const Spin::Frame end = spin.frame(1.0);
            QVERIFY(std::fabs(Roulette::delta(end.ball - (end.wheel + pocketAngle))) < 1e-9);
            QCOMPARE(end.radius, 129.0);
        }
    }
};

QTEST_APPLESS_MAIN(TestRoulette)
#include "tst_roulette.moc"
