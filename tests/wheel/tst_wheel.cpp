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
    explicit Table(std::optional<Bet> bet = Bet::red)
    {
        if (bet)
            game.select(*bet);
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, wheel.mapToGlobal(at), button, buttons, {});
        QApplication::sendEvent(&wheel, &event);
    }
    void finishSpin()
    {
        fakes.clock.t += 10;
        fakes.ticker.fire();
    }
    QAccessibleInterface *accessible() { return QAccessible::queryAccessibleInterface(&wheel); }

    Fakes fakes;
    Game game{fakes.services()};
    Wheel wheel{game};
};

} // namespace

class TestWheel : public QObject {
    Q_OBJECT

private slots:
    // The press is at (140, 20); the first move past 2 points only sets where the drag starts.
    // The 280-point wheel is 328 design units wide, with a 45-unit hub at its centre.
    void dragTurnsTheWheel_data()
    {
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<double>("turned");
        QTest::newRow("top to right: quarter turn") << QList<QPoint>{{140, 23}, {260, 140}} << pi / 2;
        QTest::newRow("then out to the top right corner") << QList<QPoint>{{140, 23}, {260, 140}, {280, 0}} << pi / 4;
        QTest::newRow("top to left: back a quarter") << QList<QPoint>{{140, 23}, {20, 140}} << -pi / 2;
        // 39 points from the centre are 45.7 design units, clear of the hub; 38 are 44.5.
        QTest::newRow("just outside the hub") << QList<QPoint>{{140, 23}, {179, 140}} << pi / 2;
        QTest::newRow("just over the hub, ignored") << QList<QPoint>{{140, 23}, {178, 140}} << 0.0;
    }
    void dragTurnsTheWheel()
    {
        QFETCH(QList<QPoint>, moves);
        QFETCH(double, turned);
        Table table;
        QTest::mousePress(&table.wheel, Qt::LeftButton, {}, QPoint(140, 20));
        for (const QPoint &p : moves) {
            table.fakes.clock.t += 0.02;
            QTest::mouseMove(&table.wheel, p);
        }
        QVERIFY(std::abs(table.game.wheel() - turned) < 1e-9);
        QVERIFY(!table.game.spinning());
    }

    // The first drag sample a game receives clears a shown result and puts the ball back on the
    // track (radius 146): presses that move less than 2 points send none.
    void shortPressesSendNothing_data()
    {
        QTest::addColumn<QPointF>("moveBy");
        QTest::addColumn<bool>("sent");
        QTest::newRow("no movement") << QPointF(0, 0) << false;
        QTest::newRow("one point") << QPointF(1, 0) << false;
        QTest::newRow("1.9 points diagonally") << QPointF(1.34, 1.34) << false;
        QTest::newRow("two points") << QPointF(0, 2) << true;
    }
    void shortPressesSendNothing()
    {
        QFETCH(QPointF, moveBy);
        QFETCH(bool, sent);
        Table table(Bet::black);
        table.game.start(7.0, false);
        table.finishSpin();
        QVERIFY(table.game.result().has_value());
        table.game.select(Bet::red);

        const QPointF press(140, 30);
        table.send(QEvent::MouseButtonPress, press, Qt::LeftButton);
        table.send(QEvent::MouseMove, press + moveBy, Qt::LeftButton);
        table.send(QEvent::MouseButtonRelease, press + moveBy, {});
        QCOMPARE(!table.game.result().has_value(), sent);
        QCOMPARE(table.game.radius() == 146.0, sent);
        QVERIFY(!table.game.spinning());
    }

    void cornersAreNotTheWheel_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("received");
        QTest::newRow("top left corner") << QPoint(8, 8) << false;
        QTest::newRow("top right corner") << QPoint(272, 8) << false;
        QTest::newRow("bottom right corner") << QPoint(272, 272) << false;
        QTest::newRow("just outside the circle") << QPoint(41, 41) << false;
        QTest::newRow("just inside the circle") << QPoint(43, 43) << true;
        QTest::newRow("top edge") << QPoint(140, 1) << true;
    }
    void cornersAreNotTheWheel()
    {
        QFETCH(QPoint, press);
        QFETCH(bool, received);
        Table table;
        QTest::mousePress(&table.wheel, Qt::LeftButton, {}, press);
        QTest::mouseMove(&table.wheel, QPoint(140, 260));
        QTest::mouseMove(&table.wheel, QPoint(260, 140));
        QCOMPARE(table.game.wheel() != 0.0, received);
    }

    // Offscreen there is no accessibility bridge, so Qt drops the events themselves; the wheel's
    // own signal says when it told them.
    void accessibleNameValueAndSpinAction()
    {
        Table table(std::nullopt);
        QAccessibleInterface *iface = table.accessible();
        QVERIFY(dynamic_cast<WheelAccessible *>(iface));
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Roulette wheel"));
        QCOMPARE(iface->childCount(), 0);
        QCOMPARE(iface->actionInterface()->actionNames(), QStringList{QStringLiteral("Spin")});
        const auto valueIs = [&](const QString &text) {
            return iface->text(QAccessible::Value) == text && iface->text(QAccessible::Description) == text;
        };
        QVERIFY(valueIs(table.game.message()));

        QSignalSpy told(&table.wheel, &Wheel::accessibleValueChanged);
        iface->actionInterface()->doAction(QStringLiteral("Spin")); // no bet: nothing
        QVERIFY(!table.game.spinning());
        QCOMPARE(table.fakes.ticker.liveTimers(), 0);
        table.game.select(Bet::red);
        QCOMPARE(told.count(), 0); // the message stays the same
        iface->actionInterface()->doAction(QStringLiteral("Spin"));
        QVERIFY(table.game.spinning());
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
