#include "model/roulette.h"
#include "model/spin.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace zorvik;

namespace {
constexpr double pi = 3.141592653589793;

bool near(double a, double b, double eps = 1e-9)
{
    return std::fabs(a - b) <= eps;
}
} // namespace

class TestSpin : public QObject {
    Q_OBJECT

private slots:
    void plan_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("velocity");
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<double>("wheelEnd");
        QTest::addColumn<double>("ballEnd"); // NaN: not checked here
        QTest::addColumn<double>("duration");
        const double nan = std::nan("");
        QTest::newRow("index 0, velocity 7") << qint64(0) << 0.0 << 7.0 << false << 4 * pi + 3.85
                                            << 3.85 - 10.5 * pi << 5.5;
        QTest::newRow("reduced: same path") << qint64(0) << 0.0 << 7.0 << true << 4 * pi + 3.85
                                            << 3.85 - 10.5 * pi << 0.65;
        QTest::newRow("velocity 0.5") << qint64(0) << 1.0 << 0.5 << false << 1.0 + 4 * pi + 0.275 << nan << 4.85;
        QTest::newRow("velocity -20 capped at 14")
            << qint64(5) << 2.0 << -20.0 << false << 2.0 - (4 * pi + 7.7) << nan << 6.2;
        QTest::newRow("velocity 0 turns clockwise") << qint64(3) << 0.0 << 0.0 << false << 4 * pi << nan << 4.8;
        QTest::newRow("NaN velocity counts as still") << qint64(3) << 0.0 << nan << false << 4 * pi << nan << 4.8;
    }
    void plan()
    {
        QFETCH(qint64, index);
        QFETCH(double, start);
        QFETCH(double, velocity);
        QFETCH(bool, reduced);
        QFETCH(double, wheelEnd);
        QFETCH(double, ballEnd);
        QFETCH(double, duration);
        const Spin spin(index, start, velocity, reduced);
        QCOMPARE(spin.index, index);
        QCOMPARE(spin.wheelStart, start);
        QCOMPARE(spin.ballStart, -pi / 2);
        QVERIFY2(near(spin.wheelEnd, wheelEnd), qPrintable(QString::number(spin.wheelEnd, 'g', 17)));
        if (!std::isnan(ballEnd))
            QVERIFY2(near(spin.ballEnd, ballEnd), qPrintable(QString::number(spin.ballEnd, 'g', 17)));
        QVERIFY(near(spin.duration, duration, 1e-12));
        // The ball always runs against the wheel.
        QVERIFY((spin.wheelEnd - spin.wheelStart) * (spin.ballEnd - spin.ballStart) < 0);
    }

    // Whatever the pocket, start and flick, the ball lands on the pocket's centre after four
    // to five turns, and the plan is deterministic.
    void landsOnItsPocket()
    {
        std::mt19937_64 rng(20261205);
        std::uniform_real_distribution<double> startDist(-100.0, 100.0);
        std::uniform_real_distribution<double> velocityDist(-30.0, 30.0);
        for (int round = 0; round < 20000; ++round) {
            const qint64 index = qint64(rng() % 37);
            const double start = startDist(rng);
            const double velocity = round % 50 == 0 ? 0.0 : velocityDist(rng);
            const bool reduced = round % 3 == 0;
            const Spin spin(index, start, velocity, reduced);
            const double pocketAngle = double(index) * Roulette::tau / 37.0 - pi / 2;
            const double turns = (spin.ballEnd - (pocketAngle + spin.wheelEnd)) / Roulette::tau;
            QVERIFY2(near(turns, std::round(turns), 1e-9), qPrintable(QString::number(turns, 'g', 17)));
            const double travel = std::fabs(spin.ballEnd - spin.ballStart);
            QVERIFY2(travel >= 8 * pi - 1e-9 && travel < 10 * pi, qPrintable(QString::number(travel)));
            QVERIFY(spin.duration >= (reduced ? 0.65 : 4.8) && spin.duration <= (reduced ? 0.65 : 6.2));
            // The final frame puts the ball over the pocket's centre on the resting ring.
            const Spin::Frame end = spin.frame(1.0);
            QVERIFY(std::fabs(Roulette::delta(end.ball - (end.wheel + pocketAngle))) < 1e-9);
            QCOMPARE(end.radius, 129.0);
            const Spin again(index, start, velocity, reduced);
            QCOMPARE(again.ballEnd, spin.ballEnd);
            QCOMPARE(again.frame(0.37).ball, spin.frame(0.37).ball);
        }
    }

    void frames_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("eased"); // fraction of the way wheel and ball have gone
        QTest::addColumn<double>("radius");
        QTest::newRow("0") << 0.0 << 0.0 << 146.0;
        QTest::newRow("negative") << -0.2 << 0.0 << 146.0;
        QTest::newRow("NaN") << std::nan("") << 0.0 << 146.0;
        QTest::newRow("half way") << 0.5 << 0.875 << 146.0;
        QTest::newRow("drop begins") << 0.65 << 1.0 - 0.35 * 0.35 * 0.35 << 146.0;
        QTest::newRow("mid drop") << 0.825 << 1.0 - 0.175 * 0.175 * 0.175 << 132.125;
        QTest::newRow("1") << 1.0 << 1.0 << 129.0;
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
        if (t >= 1.0) {
            QCOMPARE(f.wheel, spin.wheelEnd);
            QCOMPARE(f.ball, spin.ballEnd);
        }
    }

    // The bounce dips below the resting ring but never leaves the band 127..148.
    void bounce()
    {
        const Spin spin(0, 0.0, 7.0);
        QVERIFY(std::fabs(spin.frame(0.9).radius - 128.84) < 0.01);
        QVERIFY(spin.frame(0.9).radius < 129.0);
        for (double t = 0.0; t <= 1.0; t += 0.001) {
            const double r = spin.frame(t).radius;
            QVERIFY(r > 127.0 && r < 148.0);
        }
    }
};

QTEST_APPLESS_MAIN(TestSpin)
#include "tst_spin.moc"
