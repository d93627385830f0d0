// Pointer positions no real mouse sends (NaN, infinite, astronomically far) reaching a Wheel:
// nothing crashes, the game's angles stay finite, and the wheel still spins and draws after.
#include "fakes.h"

#include "game/game.h"
#include "wheel/wheel.h"

#include <QMouseEvent>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace zorvik;
using namespace zorvik::testing;

class TestWheelInput : public QObject {
    Q_OBJECT

private slots:
    void nonsensePositions_data()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const double huge = std::numeric_limits<double>::max();
        QTest::addColumn<QPointF>("bad");
        QTest::newRow("NaN") << QPointF(nan, nan);
        QTest::newRow("NaN x") << QPointF(nan, 140);
        QTest::newRow("infinite") << QPointF(inf, -inf);
        QTest::newRow("largest double") << QPointF(huge, huge); // infinite once scaled to design space
        QTest::newRow("1e300") << QPointF(1e300, -1e300);
    }
    void nonsensePositions()
    {
        QFETCH(QPointF, bad);
        Fakes fakes;
        Game game(fakes.services());
        Wheel wheel(game);
        game.select(Bet::red);
        const auto send = [&](QEvent::Type type, QPointF local) {
            QMouseEvent event(type, local, local, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
            QCoreApplication::sendEvent(&wheel, &event);
        };
        const auto finite = [&] {
            return std::isfinite(game.wheel()) && std::isfinite(game.ball()) && std::isfinite(game.radius());
        };

        // A press at the bad place is not on the wheel; moves and a release after it do nothing.
        send(QEvent::MouseButtonPress, bad);
        send(QEvent::MouseMove, QPointF(200, 140));
        send(QEvent::MouseButtonRelease, bad);
        QVERIFY(finite());
        QVERIFY(!game.spinning());

        // Bad samples in the middle of a real flick: ignored or taken as a direction, never
        // poisoning the wheel's angle or the flick's speed.
        send(QEvent::MouseButtonPress, QPointF(240, 140));
        for (int k = 1; k <= 6; ++k) {
            fakes.clock.t += 0.01;
            send(QEvent::MouseMove, QPointF(140 + 100 * std::cos(0.25 * k), 140 + 100 * std::sin(0.25 * k)));
            send(QEvent::MouseMove, bad);
            QVERIFY2(finite(), qPrintable(QString::number(game.wheel())));
        }
        fakes.clock.t += 0.01;
        send(QEvent::MouseButtonRelease, bad);
        QVERIFY(finite());
        if (!game.spinning())
            game.start(7.0, false);
        QVERIFY(game.spinning());
        for (int tick = 0; game.spinning() && tick < 60 * 10; ++tick) {
            fakes.clock.t += 1.0 / 60;
            fakes.ticker.fire();
            QVERIFY(finite());
        }
        QVERIFY(!game.spinning());
        QVERIFY(game.result().has_value());
        QVERIFY(!wheel.grab().isNull());
    }
};

QTEST_MAIN(TestWheelInput)
#include "tst_wheel_input.moc"
