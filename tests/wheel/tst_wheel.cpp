// The wheel widget: pointer input into the game, accessibility, and its drawing.
#include "support/drawing_difference.h"
#include "support/fakes.h"

#include "desktop/reduced_motion.h"
#include "style/fonts.h"
#include "wheel/wheel.h"
#include "wheel/wheel_layer.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <numbers>
#include <functional>

using namespace zorvik;
using namespace zorvik::testing;

namespace {

using std::numbers::pi;
constexpr double step = Roulette::tau / 37;
constexpr int side = 280;

using Paint = std::function<void(QPainter &, QSizeF, const WheelFrame &, bool)>;

QImage render(const WheelFrame &frame, bool dark, int dpr = 1, Paint paint = WheelPainter::paint, double shift = 0)
{
    QImage image(side * dpr, side * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(shift, shift);
    paint(painter, QSizeF(side, side), frame, dark);
    return image;
}

int colourDistance(QColor a, QColor b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
}

// A game on stand-in services, and a wheel on it.
struct Table {
    Fakes fakes;
    Game game{fakes.services()};
    ReducedMotion motion; // never started: no preference
    Wheel wheel{game, motion};
};

} // namespace

class TestWheel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::load(); }

    // A drag starts after 2 pixels of movement, with a sample that only sets where it starts.
    // Only the inscribed circle takes presses; the 280-pixel wheel is 328 units wide, with a
    // 45-unit hub.
    void dragTurnsTheWheel_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<double>("turned");
        QTest::addColumn<bool>("sent"); // whether the game received any sample: the drag goes on
        const QPoint top(140, 20);
        const QList<QPoint> downThenRight{{140, 260}, {260, 140}};
        QTest::newRow("top to right: quarter turn") << top << QList<QPoint>{{140, 23}, {260, 140}} << pi / 2 << true;
        QTest::newRow("then out to the top right corner")
            << top << QList<QPoint>{{140, 23}, {260, 140}, {280, 0}} << pi / 4 << true;
        // 39 pixels from the centre are 45.7 design units, clear of the hub; 38 are 44.5.
        QTest::newRow("just outside the hub") << top << QList<QPoint>{{140, 23}, {179, 140}} << pi / 2 << true;
        QTest::newRow("just over the hub, ignored") << top << QList<QPoint>{{140, 23}, {178, 140}} << 0.0 << true;
        QTest::newRow("moved 1.4 pixels diagonally") << top << QList<QPoint>{{141, 21}} << 0.0 << false;
        QTest::newRow("moved two pixels") << top << QList<QPoint>{{140, 22}} << 0.0 << true;
        QTest::newRow("press in the corner, just outside the circle") << QPoint(41, 41) << downThenRight << 0.0 << false;
        QTest::newRow("press just inside the circle") << QPoint(43, 43) << downThenRight << -pi / 2 << true;
    }
    void dragTurnsTheWheel()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);
        QFETCH(double, turned);
        QFETCH(bool, sent);
        Table table;
        table.game.select(Bet::red);
        QTest::mousePress(&table.wheel, Qt::LeftButton, {}, press);
        for (const QPoint &p : moves) {
            table.fakes.clock.t += 0.02;
            QTest::mouseMove(&table.wheel, p);
        }
        QVERIFY(std::abs(Roulette::delta(table.game.wheel() - turned)) < 1e-9);
        // A move to the lower left turns the wheel only in a drag the game has already begun.
        const double before = table.game.wheel();
        table.fakes.clock.t += 0.02;
        QTest::mouseMove(&table.wheel, QPoint(40, 240));
        QCOMPARE(table.game.wheel() != before, sent);
        QVERIFY(!table.game.spinning());
    }

    // A release that never came (a broken grab): the next press ends that drag (the wheel
    // springs back, no flick at rest) and starts a new one, instead of the old drag going on.
    void lostReleaseEndsTheDrag()
    {
        Table table;
        table.game.select(Bet::red);
        QTest::mousePress(&table.wheel, Qt::LeftButton, {}, QPoint(140, 20));
        QTest::mouseMove(&table.wheel, QPoint(140, 23));
        QTest::mouseMove(&table.wheel, QPoint(260, 140));
        table.fakes.clock.t += 0.3;
        const QPointF right(260, 140);
        QMouseEvent press(QEvent::MouseButtonPress, right, table.wheel.mapToGlobal(right), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&table.wheel, &press);
        QCOMPARE(table.game.wheel(), 0.0);
        QTest::mouseMove(&table.wheel, QPoint(257, 140));
        QTest::mouseMove(&table.wheel, QPoint(140, 260));
        QVERIFY(std::abs(Roulette::delta(table.game.wheel() - pi / 2)) < 1e-9);
    }

    // Name, the message as value and description, and the one action. The action and Space or
    // Return on the wheel do the same: nothing without a bet or during a spin, else a spin at
    // 7 rad/s (5.5 s, as long as its sound), 0.65 s when the desktop asks for reduced motion.
    void spinByActionOrKey_data()
    {
        QTest::addColumn<int>("key"); // 0: the accessible action
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<double>("seconds");
        QTest::newRow("Spin action") << 0 << false << 5.5;
        QTest::newRow("Space") << int(Qt::Key_Space) << false << 5.5;
        QTest::newRow("Return, reduced motion") << int(Qt::Key_Return) << true << 0.65;
    }
    void spinByActionOrKey()
    {
        QFETCH(int, key);
        QFETCH(bool, reduced);
        QFETCH(double, seconds);
        Table table;
        table.motion.setAnswer(ReducedMotion::Source::portal, reduced);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&table.wheel);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Roulette wheel"));
        QCOMPARE(iface->actionInterface()->actionNames(), QStringList{QStringLiteral("Spin")});
        const auto valueIs = [&](const QString &text) {
            return iface->text(QAccessible::Value) == text && iface->text(QAccessible::Description) == text;
        };
        const auto spin = [&] {
            key ? QTest::keyClick(&table.wheel, Qt::Key(key)) : iface->actionInterface()->doAction(QStringLiteral("Spin"));
        };
        QVERIFY(valueIs(table.game.message()));
        spin(); // no bet: nothing
        QVERIFY(!table.game.spinning());
        table.game.select(Bet::red);
        spin();
        spin(); // while it spins: nothing
        QCOMPARE(table.fakes.ticker.liveTimers(), 1);
        QVERIFY(valueIs(QStringLiteral("Spinning")));
        QCOMPARE(table.fakes.output.wavSizes, std::vector<qsizetype>{44 + 2 * std::lround(seconds * 24000)});
    }

    // Pockets in wheel order whatever the turn (the colours are not the look's).
    void pocketColours_data()
    {
        QTest::addColumn<double>("wheel");
        QTest::addColumn<double>("angle"); // on screen
        QTest::addColumn<QColor>("expected");
        const double top = -pi / 2;
        QTest::newRow("32 next clockwise of the zero") << 0.0 << top + step << Palette::rose();
        QTest::newRow("15 after it") << 0.0 << top + 2 * step << Palette::charcoal();
        QTest::newRow("quarter turn: 0 at 3 o'clock") << pi / 2 << 0.0 << Palette::sage();
        QTest::newRow("turned back 5 pockets: 21 on top") << -5 * step << top << Palette::rose();
    }
    void pocketColours()
    {
        QFETCH(double, wheel);
        QFETCH(double, angle);
        QFETCH(QColor, expected);
        // Between the inner edge (62) and the ring of numbers (110).
        const double scale = side / 328.0;
        const QPoint at(int(std::floor((164 + 75 * std::cos(angle)) * scale)),
                        int(std::floor((164 + 75 * std::sin(angle)) * scale)));
        for (const bool dark : {false, true}) {
            const QColor seen = render(WheelFrame{wheel, pi / 2, 146, std::nullopt}, dark).pixelColor(at);
            QVERIFY2(colourDistance(seen, expected) <= 2, qPrintable(seen.name(QColor::HexArgb)));
        }
    }

    // The wheel as drawn in a spin (from its turned layer) against the wheel drawn shape by
    // shape: rims, pockets, numbers, the result's outline, hub and the ball where angle and
    // radius put it; and the outline on the result's own pocket. The rows change look and
    // resolution, for which the one layer must be drawn anew.
    void layeredAsDrawnInPlace_data()
    {
        QTest::addColumn<double>("wheel");
        QTest::addColumn<std::optional<int>>("result");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<int>("dpr");
        QTest::addColumn<double>("shift"); // off whole pixels, the layer's pictures are resampled
        QTest::newRow("at rest, light") << 0.0 << std::optional<int>() << false << 1 << 0.0;
        QTest::newRow("three turns on, dark, half a pixel off") << 21.6 << std::optional<int>() << true << 1 << 0.5;
        QTest::newRow("negative turn, result 5") << -7.9 << std::optional<int>(5) << false << 1 << 0.0;
        QTest::newRow("result 26, dark, dpr 2") << 1.1 << std::optional<int>(26) << true << 2 << 0.0;
        QTest::newRow("result 0, dpr 2") << 2.3 << std::optional<int>(0) << false << 2 << 0.0;
        QTest::newRow("spinning, dpr 2") << 4.05 << std::optional<int>() << false << 2 << 0.0;
    }
    void layeredAsDrawnInPlace()
    {
        QFETCH(double, wheel);
        QFETCH(std::optional<int>, result);
        QFETCH(bool, dark);
        QFETCH(int, dpr);
        QFETCH(double, shift);
        const WheelFrame frame{wheel, wheel * 1.7, result ? 129.0 : 146.0, result};
        static WheelLayer layer;
        const auto layered = [](QPainter &p, QSizeF c, const WheelFrame &f, bool d) { layer.paint(p, c, f, d); };
        const QImage inPlace = render(frame, dark, dpr, WheelPainter::paint, shift);
        if (result) { // outlined in the highlight on its own pocket's outer edge
            const auto index = std::find(Roulette::pockets.begin(), Roulette::pockets.end(), *result) - Roulette::pockets.begin();
            const double a = WheelGeometry::pocketAngle(double(index), wheel);
            const QPointF edge = (QPointF(164 + 137 * std::cos(a), 164 + 137 * std::sin(a)) * side / 328 + QPointF(shift, shift)) * dpr;
            int nearest = 255;
            for (int i = 0; i < 9; ++i)
                nearest = std::min(nearest, colourDistance(inPlace.pixelColor(edge.toPoint() + QPoint(i % 3 - 1, i / 3 - 1)),
                                                           WheelPainter::resultHighlight()));
            QVERIFY2(nearest < 40, qPrintable(QString::number(nearest)));
        }
        const DrawingDifference turned = drawingDifference(render(frame, dark, dpr, layered, shift), inPlace);
        QVERIFY2(turned.mean <= 1.0 && turned.worstBlock <= 24,
                 qPrintable(QStringLiteral("off by %1 on average, %2 in a block").arg(turned.mean).arg(turned.worstBlock)));
    }
};

QTEST_MAIN(TestWheel)
#include "tst_wheel.moc"
