#include "fakes.h"

#include "game/game.h"
#include "wheel/wheel.h"
#include "wheel/wheel_accessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace zorvik;
using namespace zorvik::testing;

namespace {

constexpr double pi = 3.141592653589793;

// A game on stand-in services, and a wheel on it.
struct Table {
    FakeClock clock;
    ManualTicker ticker;
    ScriptedRandom random;
    RecordingAnnouncer announcer;
    MemorySettings settings;
    RecordingAudioOutput audio;
    Game game{GameServices{&clock, &ticker, &random, &announcer, &settings, &audio}};
    Wheel wheel{game};

    // Runs a started spin to its end.
    void finishSpin()
    {
        clock.t += 10;
        ticker.fire();
    }
};

} // namespace

class TestWheel : public QObject {
    Q_OBJECT

private slots:

    void designPoint_data();
    void designPoint();
    void dragTurnsTheWheel_data();
    void dragTurnsTheWheel();
    void shortPressesSendNothing_data();
    void shortPressesSendNothing();
    void cornersAreNotTheWheel_data();
    void cornersAreNotTheWheel();
    void flickStartsSpin();
    void accessibleElement();
    void spinAction_data();
    void spinAction();
    void accessibleValueFollowsTheGame();
};

void TestWheel::designPoint_data()
{
    QTest::addColumn<QPointF>("local");
    QTest::addColumn<QPointF>("design");

    QTest::newRow("centre") << QPointF(140, 140) << QPointF(164, 164);
    QTest::newRow("top right corner") << QPointF(280, 0) << QPointF(328, 0);
    QTest::newRow("origin") << QPointF(0, 0) << QPointF(0, 0);
}

void TestWheel::designPoint()
{
    QFETCH(QPointF, local);
    QFETCH(QPointF, design);
    const QPointF got = Wheel::designPoint(local);
    QVERIFY(std::abs(got.x() - design.x()) < 1e-9 && std::abs(got.y() - design.y()) < 1e-9);
}

void TestWheel::dragTurnsTheWheel_data()
{
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<double>("turned");

    // The press is at (140, 20); the first move past 2 points only sets where the drag starts.
    QTest::newRow("top to right: quarter turn")
        << QList<QPoint>{{140, 23}, {260, 140}} << pi / 2;
    QTest::newRow("then out to the top right corner")
        << QList<QPoint>{{140, 23}, {260, 140}, {280, 0}} << pi / 4;
    QTest::newRow("top to left: back a quarter")
        << QList<QPoint>{{140, 23}, {20, 140}} << -pi / 2;
    // 39 points from the centre are 45.7 design units, clear of the hub (45); 38 are 44.5.
    QTest::newRow("just outside the hub") << QList<QPoint>{{140, 23}, {179, 140}} << pi / 2;
    QTest::newRow("just over the hub, ignored") << QList<QPoint>{{140, 23}, {178, 140}} << 0.0;
}

void TestWheel::dragTurnsTheWheel()
{
    QFETCH(QList<QPoint>, moves);
    QFETCH(double, turned);
    Table table;
    table.game.select(Bet::red);
    QTest::mousePress(&table.wheel, Qt::LeftButton, {}, QPoint(140, 20));
    for (const QPoint &p : moves) {
        table.clock.t += 0.02;
        QTest::mouseMove(&table.wheel, p);
    }
    QVERIFY(std::abs(table.game.wheel() - turned) < 1e-9);
    QCOMPARE(table.game.spinning(), false);
}

void TestWheel::shortPressesSendNothing_data()
{
    QTest::addColumn<QPointF>("moveBy");
    QTest::addColumn<bool>("sent");

    QTest::newRow("no movement") << QPointF(0, 0) << false;
    QTest::newRow("one point") << QPointF(1, 0) << false;
    QTest::newRow("1.9 points diagonally") << QPointF(1.34, 1.34) << false;
    QTest::newRow("two points") << QPointF(0, 2) << true;
}

void TestWheel::shortPressesSendNothing()
{
    QFETCH(QPointF, moveBy);
    QFETCH(bool, sent);
    Table table;
    // A finished spin leaves a result and the ball in its pocket; the first drag sample
    // a game receives clears the result and puts the ball back on the track.
    table.game.select(Bet::black);
    table.game.start(7.0, false);
    table.finishSpin();
    QVERIFY(table.game.result().has_value());
    table.game.select(Bet::red);

    const QPointF press(140, 30);
    QMouseEvent down(QEvent::MouseButtonPress, press, table.wheel.mapToGlobal(press),
                     Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(&table.wheel, &down);
    QMouseEvent move(QEvent::MouseMove, press + moveBy, table.wheel.mapToGlobal(press + moveBy),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&table.wheel, &move);
    QMouseEvent up(QEvent::MouseButtonRelease, press + moveBy,
                   table.wheel.mapToGlobal(press + moveBy), Qt::LeftButton, {}, {});
    QApplication::sendEvent(&table.wheel, &up);

    QCOMPARE(!table.game.result().has_value(), sent);
    QCOMPARE(table.game.radius() == 146.0, sent);
    QCOMPARE(table.game.spinning(), false);
}

void TestWheel::cornersAreNotTheWheel_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("received");

    QTest::newRow("top left corner") << QPoint(8, 8) << false;
    QTest::newRow("top right corner") << QPoint(272, 8) << false;
    QTest::newRow("bottom left corner") << QPoint(8, 272) << false;
    QTest::newRow("bottom right corner") << QPoint(272, 272) << false;
    QTest::newRow("just outside the circle") << QPoint(41, 41) << false;
    QTest::newRow("just inside the circle") << QPoint(43, 43) << true;
    QTest::newRow("top edge") << QPoint(140, 1) << true;
}

void TestWheel::cornersAreNotTheWheel()
{
    QFETCH(QPoint, press);
    QFETCH(bool, received);
    Table table;
    table.game.select(Bet::red);
    QTest::mousePress(&table.wheel, Qt::LeftButton, {}, press);
    QTest::mouseMove(&table.wheel, QPoint(140, 260));
    QTest::mouseMove(&table.wheel, QPoint(260, 140));
    QCOMPARE(table.game.wheel() != 0.0, received);
}

void TestWheel::flickStartsSpin()
{
    Table table;
    table.game.select(Bet::red);
    QTest::mousePress(&table.wheel, Qt::LeftButton, {}, QPoint(140, 20));
    QTest::mouseMove(&table.wheel, QPoint(140, 24));
    table.clock.t += 0.05;
    QTest::mouseMove(&table.wheel, QPoint(200, 36));
    table.clock.t += 0.05;
    QTest::mouseMove(&table.wheel, QPoint(250, 90));
    QVERIFY(!table.game.spinning());
    QTest::mouseRelease(&table.wheel, Qt::LeftButton, {}, QPoint(250, 90));
    QVERIFY(table.game.spinning());
}

void TestWheel::accessibleElement()
{
    Table table;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&table.wheel);
    QVERIFY(iface);
    QVERIFY(dynamic_cast<WheelAccessible *>(iface));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Roulette wheel"));
    QCOMPARE(iface->text(QAccessible::Value), table.game.message());
    QCOMPARE(iface->text(QAccessible::Description), table.game.message());
    QCOMPARE(iface->childCount(), 0);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList{QStringLiteral("Spin")});
}

void TestWheel::spinAction_data()
{
    QTest::addColumn<bool>("withBet");
    QTest::addColumn<bool>("spins");

    QTest::newRow("with a bet") << true << true;
    QTest::newRow("without a bet") << false << false;
}

void TestWheel::spinAction()
{
    QFETCH(bool, withBet);
    QFETCH(bool, spins);
    Table table;
    if (withBet)
        table.game.select(Bet::red);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&table.wheel);
    iface->actionInterface()->doAction(QStringLiteral("Spin"));
    QCOMPARE(table.game.spinning(), spins);
    if (spins)
        QVERIFY(table.ticker.liveTimers() == 1);
}

// Offscreen there is no accessibility bridge, so Qt drops the events themselves; the wheel's
// own signal says when it told them.
void TestWheel::accessibleValueFollowsTheGame()
{
    Table table;
    QSignalSpy told(&table.wheel, &Wheel::accessibleValueChanged);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&table.wheel);
    table.game.select(Bet::red);
    QCOMPARE(told.count(), 0); // the message stays the same
    iface->actionInterface()->doAction(QStringLiteral("Spin"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("Spinning"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Spinning"));
    QCOMPARE(told.count(), 1);
    QCOMPARE(told.last().at(0).toString(), QStringLiteral("Spinning"));

    // Ticks in mid-spin change the drawing, not the value.
    table.clock.t += 1.0;
    table.ticker.fire();
    QCOMPARE(told.count(), 1);

    table.finishSpin();
    QVERIFY(!table.game.spinning());
    QVERIFY(table.game.message().startsWith(QStringLiteral("10 ")));
    QCOMPARE(iface->text(QAccessible::Value), table.game.message());
    QCOMPARE(iface->text(QAccessible::Description), table.game.message());
    QCOMPARE(told.count(), 2);
    QCOMPARE(told.last().at(0).toString(), table.game.message());
}

QTEST_MAIN(TestWheel)
#include "tst_wheel.moc"
