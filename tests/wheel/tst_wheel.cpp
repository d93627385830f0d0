#include "fakes.h"

#include "game/game.h"
#include "wheel/wheel.h"
#include "wheel/wheel_accessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QtTest>

#include <cmath>

using namespace zorvik;
using namespace zorvik::testing;

namespace {

constexpr double pi = 3.141592653589793;

// A game on stand-in services, and a wheel on it.
struct Table {
    void finishSpin()
    {
        fakes.clock.t += 10;
        fakes.ticker.fire();
    }

    Fakes fakes;
    Game game{fakes.services()};
    Wheel wheel{game};
};

} // namespace

class TestWheel : public QObject {
    Q_OBJECT

private slots:
    // A drag starts after 2 points of movement with a sample that only sets where it starts, but
    // clears the result and puts the ball back on the track (radius 146). Only the inscribed
    // circle takes presses; the 280-point wheel is 328 units wide, with a 45-unit hub.
    void dragTurnsTheWheel_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<double>("turned");
        QTest::addColumn<bool>("sent"); // whether the game received any sample
        const QPoint top(140, 20);
        const QList<QPoint> downThenRight{{140, 260}, {260, 140}};
        QTest::newRow("top to right: quarter turn") << top << QList<QPoint>{{140, 23}, {260, 140}} << pi / 2 << true;
        QTest::newRow("then out to the top right corner")
            << top << QList<QPoint>{{140, 23}, {260, 140}, {280, 0}} << pi / 4 << true;
        QTest::newRow("top to left: back a quarter") << top << QList<QPoint>{{140, 23}, {20, 140}} << -pi / 2 << true;
        // 39 points from the centre are 45.7 design units, clear of the hub; 38 are 44.5.
        QTest::newRow("just outside the hub") << top << QList<QPoint>{{140, 23}, {179, 140}} << pi / 2 << true;
        QTest::newRow("just over the hub, ignored") << top << QList<QPoint>{{140, 23}, {178, 140}} << 0.0 << true;
        QTest::newRow("moved one point") << top << QList<QPoint>{{141, 20}} << 0.0 << false;
        QTest::newRow("moved 1.4 points diagonally") << top << QList<QPoint>{{141, 21}} << 0.0 << false;
        QTest::newRow("moved two points") << top << QList<QPoint>{{140, 22}} << 0.0 << true;
        QTest::newRow("press in the top left corner") << QPoint(8, 8) << downThenRight << 0.0 << false;
        QTest::newRow("press in the bottom right corner") << QPoint(272, 272) << downThenRight << 0.0 << false;
        QTest::newRow("press just outside the circle") << QPoint(41, 41) << downThenRight << 0.0 << false;
        QTest::newRow("press just inside the circle") << QPoint(43, 43) << downThenRight << -pi / 2 << true;
        QTest::newRow("press on the top edge") << QPoint(140, 1) << downThenRight << -pi / 2 << true;
    }
    void dragTurnsTheWheel()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);
        QFETCH(double, turned);
        QFETCH(bool, sent);
        Table table;
        table.game.select(Bet::red);
        table.game.start(7.0, false);
        table.finishSpin();
        QVERIFY(table.game.result().has_value() && table.game.radius() != 146.0);
        table.game.select(Bet::red); // a result clears the bet
        const double before = table.game.wheel();

        QTest::mousePress(&table.wheel, Qt::LeftButton, {}, press);
        for (const QPoint &p : moves) {
            table.fakes.clock.t += 0.02;
            QTest::mouseMove(&table.wheel, p);
        }
        QVERIFY(std::abs(Roulette::delta(table.game.wheel() - before - turned)) < 1e-9);
        QCOMPARE(!table.game.result().has_value(), sent);
        QCOMPARE(table.game.radius() == 146.0, sent);
        QVERIFY(!table.game.spinning());
    }

    // Offscreen there is no accessibility bridge, so Qt drops the events themselves; the wheel's
    // own signal says when it told them.
    void accessibleNameValueAndSpinAction()
    {
        Table table;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&table.wheel);
        QVERIFY(dynamic_cast<WheelAccessible *>(iface));
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Roulette wheel"));
        QCOMPARE(iface->actionInterface()->actionNames(), QStringList{QStringLiteral("Spin")});
        const auto valueIs = [&](const QString &text) {
            return iface->text(QAccessible::Value) == text && iface->text(QAccessible::Description) == text;
        };
        QVERIFY(valueIs(table.game.message()));

        QSignalSpy told(&table.wheel, &Wheel::accessibleValueChanged);
        iface->actionInterface()->doAction(QStringLiteral("Spin")); // no bet: nothing
        QVERIFY(!table.game.spinning());
        table.game.select(Bet::red);
        QCOMPARE(told.count(), 0); // the message stays the same
        iface->actionInterface()->doAction(QStringLiteral("Spin"));
        QCOMPARE(table.fakes.ticker.liveTimers(), 1);
        QVERIFY(valueIs(QStringLiteral("Spinning")));
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.last().at(0).toString(), QStringLiteral("Spinning"));

        // Ticks in mid-spin change the drawing, not the value.
        table.fakes.clock.t += 1.0;
        table.fakes.ticker.fire();
        QCOMPARE(told.count(), 1);

        table.finishSpin();
        QVERIFY(table.game.message().startsWith(QStringLiteral("10 ")));
        QVERIFY(valueIs(table.game.message()));
        QCOMPARE(told.count(), 2);
        QCOMPARE(told.last().at(0).toString(), table.game.message());
    }
};

QTEST_MAIN(TestWheel)
#include "tst_wheel.moc"
