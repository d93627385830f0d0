// Pointer positions that no real mouse sends (NaN, infinite, astronomically far) reaching a
// real Wheel: nothing crashes, the game's angles stay finite, and the wheel still spins and
// draws afterwards.
#include "fakes.h"

#include "game/game.h"
#include "wheel/wheel.h"

#include <QMouseEvent>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace zorvik;
using namespace zorvik::testing;

namespace {

void send(QWidget &widget, QEvent::Type type, QPointF local, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, local, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

class TestWheelInput : public QObject {
    Q_OBJECT

private slots:
    void nonsensePositions_data();
    void nonsensePositions();
};

void TestWheelInput::nonsensePositions_data()
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
    QTest::newRow("denormal") << QPointF(std::numeric_limits<double>::denorm_min(), 140);
}

void TestWheelInput::nonsensePositions()
{
    QFETCH(QPointF, bad);
    FakeClock clock;
    ManualTicker ticker;
    ScriptedRandom random;
    RecordingAnnouncer announcer;
    MemorySettings settings;
    RecordingAudioOutput audio;
    Game game(GameServices{&clock, &ticker, &random, &announcer, &settings, &audio});
    Wheel wheel(game);
    wheel.resize(Wheel::side, Wheel::side);
    game.select(Bet::red);

    auto finite = [&] { return std::isfinite(game.wheel()) && std::isfinite(game.ball()) && std::isfinite(game.radius()); };

    // A press at the bad place is not on the wheel; moves and a release after it do nothing.
    send(wheel, QEvent::MouseButtonPress, bad, Qt::LeftButton);
    send(wheel, QEvent::MouseMove, QPointF(200, 140), Qt::LeftButton);
    send(wheel, QEvent::MouseButtonRelease, bad, Qt::NoButton);
    QVERIFY(finite());
    QVERIFY(!game.spinning());

    // Bad samples in the middle of a real flick: ignored or taken as a direction, never
    // poisoning the wheel's angle or the flick's speed.
    send(wheel, QEvent::MouseButtonPress, QPointF(240, 140), Qt::LeftButton);
    for (int k = 1; k <= 6; ++k) {
        const double a = 0.25 * k;
        clock.t += 0.01;
        send(wheel, QEvent::MouseMove, QPointF(140 + 100 * std::cos(a), 140 + 100 * std::sin(a)), Qt::LeftButton);
        send(wheel, QEvent::MouseMove, bad, Qt::LeftButton);
        QVERIFY2(finite(), qPrintable(QString::number(game.wheel())));
    }
    clock.t += 0.01;
    send(wheel, QEvent::MouseButtonRelease, bad, Qt::NoButton);
    QVERIFY(finite());
    if (!game.spinning())
        game.start(7.0, false);
    QVERIFY(game.spinning());
    QVERIFY(!wheel.grab().isNull());
    for (int tick = 0; game.spinning() && tick < 60 * 10; ++tick) {
        clock.t += 1.0 / 60;
        ticker.fire();
        QVERIFY(finite());
    }
    QVERIFY(!game.spinning());
    QVERIFY(game.result().has_value());
    QVERIFY(!wheel.grab().isNull());
}

QTEST_MAIN(TestWheelInput)
#include "tst_wheel_input.moc"
