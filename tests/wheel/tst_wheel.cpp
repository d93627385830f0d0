// The wheel widget: pointer input into the game (positions no real mouse sends too), and its
// colours where it draws them.
#include "support/fakes.h"

#include "platform/reduced_motion.h"
#include "wheel/wheel.h"
#include "wheel/wheel_painter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace zorvik;
using namespace zorvik::testing;

namespace {
constexpr double pi = 3.141592653589793;
constexpr double step = Roulette::tau / 37;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN(), huge = std::numeric_limits<double>::max();
} // namespace

class TestWheel : public QObject {
    Q_OBJECT

private slots:
    // A drag starts after 2 points of movement, with a sample that only sets where it starts.
    // Only the inscribed circle takes presses; the 280-point wheel is 328 units wide, with a
    // 45-unit hub. Nonsense positions leave the game's angles finite.
    void drag_data()
    {
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QList<QPointF>>("moves");
        QTest::addColumn<double>("turned");
        QTest::addColumn<bool>("sent"); // whether the game received any sample
        const QPointF top(140, 20);
        const QList<QPointF> downThenRight{{140, 260}, {260, 140}};
        using P = QList<QPointF>;
        QTest::newRow("top to right: quarter turn") << top << P{{140, 23}, {260, 140}} << pi / 2 << true;
        // 39 points from the centre are 45.7 design units, clear of the hub; 38 are 44.5.
        QTest::newRow("just outside the hub") << top << P{{140, 23}, {179, 140}} << pi / 2 << true;
        QTest::newRow("just over the hub, ignored") << top << P{{140, 23}, {178, 140}} << 0.0 << true;
        QTest::newRow("moved 1.4 points diagonally") << top << P{{141, 21}} << 0.0 << false;
        QTest::newRow("press in the corner, just outside the circle") << QPointF(41, 41) << downThenRight << 0.0 << false;
        QTest::newRow("press at NaN") << QPointF(notANumber, 140) << downThenRight << 0.0 << false;
        // 1e300 still points somewhere; the largest double is infinite once scaled.
        QTest::newRow("nonsense mid-drag") << top << P{{140, 23}, {notANumber, 140}, {1e300, -1e300}, {huge, huge},
                                                       {140, notANumber}, {260, 140}} << pi / 2 << true;
    }
    void drag()
    {
        QFETCH(QPointF, press);
        QFETCH(QList<QPointF>, moves);
        QFETCH(double, turned);
        QFETCH(bool, sent);
        Fakes fakes;
        Game game{fakes.services()};
        ReducedMotion motion; // never started: no preference
        Wheel wheel{game, motion};
        game.select(Bet::red);
        QSignalSpy changed(&game, &Game::changed);
        const auto send = [&](QEvent::Type type, QPointF at) {
            QMouseEvent event(type, at, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(&wheel, &event);
            fakes.clock.t += 0.02;
            return std::isfinite(game.wheel()) && std::isfinite(game.ball()) && std::isfinite(game.radius());
        };
        QVERIFY(send(QEvent::MouseButtonPress, press));
        for (const QPointF &p : moves)
            QVERIFY(send(QEvent::MouseMove, p));
        QVERIFY(std::abs(Roulette::delta(game.wheel() - turned)) < 1e-9);
        QCOMPARE(!changed.isEmpty(), sent);
        QVERIFY(!game.spinning());
    }

    // Light and dark: pockets in wheel order whatever the turn, rim, track, hub and the result's
    // outline.
    void colours_data()
    {
        QTest::addColumn<double>("wheel");
        QTest::addColumn<double>("angle"); // on screen
        QTest::addColumn<double>("radius");
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("dark");
        const double top = -pi / 2;
        const auto both = [](const QColor &c) { return std::pair{c, c}; };
        for (const auto &[name, wheel, angle, radius, colours] :
             std::initializer_list<std::tuple<const char *, double, double, double, std::pair<QColor, QColor>>>{
                 {"32 next clockwise of the zero", 0.0, top + step, 75, both(srgb(0.72, 0.39, 0.39))},
                 {"quarter turn: 0 at 3 o'clock", pi / 2, 0.0, 75, both(srgb(0.48, 0.61, 0.49))},
                 {"turned back 5 pockets: 21 on top", -5 * step, top, 75, both(srgb(0.72, 0.39, 0.39))},
                 {"the result, 26, outlined", 0.0, top - step, 137, both(srgb(1.0, 0.85, 0.53))},
                 {"rim", 0.0, pi, 157.5, {srgb(0.85, 0.82, 0.75), srgb(0.25, 0.32, 0.27)}},
                 {"track", 0.0, pi, 153, {srgb(0.91, 0.88, 0.82), srgb(0.19, 0.26, 0.22)}},
                 {"hub rim", 0.0, pi, 55, {srgb(0.88, 0.86, 0.79), srgb(0.24, 0.31, 0.26)}},
                 {"hub face", 0.0, pi, 49, {srgb(0.96, 0.94, 0.89), srgb(0.1, 0.15, 0.13)}},
             })
            QTest::newRow(name) << wheel << angle << radius << colours.first << colours.second;
    }
    void colours()
    {
        QFETCH(double, wheel);
        QFETCH(double, angle);
        QFETCH(double, radius);
        QFETCH(QColor, light);
        QFETCH(QColor, dark);
        const double scale = 2 * 280 / 328.0; // at a device pixel ratio of 2
        const QPoint at(int(std::floor((164 + radius * std::cos(angle)) * scale)),
                        int(std::floor((164 + radius * std::sin(angle)) * scale)));
        for (const bool isDark : {false, true}) {
            QImage image(560, 560, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            WheelPainter::paint(painter, QSizeF(280, 280), WheelFrame{wheel, pi / 2, 146, 26}, isDark);
            const QColor seen = image.pixelColor(at), expected = isDark ? dark : light;
            QVERIFY2(std::max({std::abs(seen.red() - expected.red()), std::abs(seen.green() - expected.green()),
                               std::abs(seen.blue() - expected.blue()), 255 - seen.alpha()}) <= 2,
                     qPrintable(seen.name(QColor::HexArgb)));
        }
    }
};

QTEST_MAIN(TestWheel)
#include "tst_wheel.moc"
