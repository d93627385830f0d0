#include "direct_wheel_drawing.h"

#include "model/roulette.h"
#include "panel/palette.h"
#include "platform/fonts.h"
#include "wheel/wheel_painter.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>

using namespace zorvik;

namespace {

constexpr double pi = 3.141592653589793;
constexpr double step = Roulette::tau / 37;
constexpr int side = 280;

QImage render(const WheelFrame &frame, bool dark, int dpr = 1)
{
    QImage image(side * dpr, side * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    WheelPainter::paint(painter, QSizeF(side, side), frame, dark);
    return image;
}

QImage renderDirectly(const WheelFrame &frame, bool dark, int dpr = 1)
{
    QImage image(side * dpr, side * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    testing::paintWheelDirectly(painter, QSizeF(side, side), frame, dark);
    return image;
}

// The pixel under a point of the design space given by angle and distance from the centre.
QPoint pixelAt(double angle, double distance)
{
    const double scale = side / 328.0;
    return QPoint(int(std::floor((164 + distance * std::cos(angle)) * scale)),
                  int(std::floor((164 + distance * std::sin(angle)) * scale)));
}

int colourDistance(QColor a, QColor b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
}

QColor mix(QColor a, QColor b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

#define QCOMPARE_COLOUR(actual, expected, tolerance)                                             \
    QVERIFY2(colourDistance(actual, expected) <= (tolerance),                                     \
             qPrintable(QStringLiteral("%1 is not %2").arg((actual).name(QColor::HexArgb),      \
                                                            (expected).name(QColor::HexArgb))))

} // namespace

class TestWheelPainter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::load(); }

    void pocketColours_data();
    void pocketColours();
    void appearance_data();
    void appearance();
    void wheelTurnsModuloFullTurns();
    void resultOutline_data();
    void resultOutline();
    void ball_data();
    void ball();
    void sameAsDirectDrawing_data();
    void sameAsDirectDrawing();
};

void TestWheelPainter::pocketColours_data()
{
    QTest::addColumn<double>("wheel");
    QTest::addColumn<double>("angle"); // screen angle where the pocket is looked at
    QTest::addColumn<QColor>("expected");

    const double top = -pi / 2;
    QTest::newRow("0 at the top") << 0.0 << top << Palette::sage();
    QTest::newRow("32 next clockwise") << 0.0 << top + step << Palette::rose();
    QTest::newRow("15 after it") << 0.0 << top + 2 * step << Palette::charcoal();
    QTest::newRow("26 just before the zero") << 0.0 << top - step << Palette::charcoal();
    QTest::newRow("quarter turn: 0 at 3 o'clock") << pi / 2 << 0.0 << Palette::sage();
    QTest::newRow("quarter turn: 32 below it") << pi / 2 << step << Palette::rose();
    QTest::newRow("turned back 5 pockets: 21 on top") << -5 * step << top << Palette::rose();
    QTest::newRow("turned back 6 pockets: 2 on top") << -6 * step << top << Palette::charcoal();
}

void TestWheelPainter::pocketColours()
{
    QFETCH(double, wheel);
    QFETCH(double, angle);
    QFETCH(QColor, expected);
    const QImage image = render(WheelFrame{wheel, 0.0, 146, std::nullopt}, false);
    // Between the inner edge (62) and the ring of numbers (110).
    for (double distance : {70.0, 85.0}) {
        const QPoint at = pixelAt(angle, distance);
        QCOMPARE_COLOUR(image.pixelColor(at), expected, 2);
    }
}

void TestWheelPainter::appearance_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<double>("distance");
    QTest::addColumn<QColor>("expected");

    const QColor black8 = QColor::fromRgbF(0, 0, 0, 0.08f);
    for (bool dark : {false, true}) {
        const QByteArray look = dark ? "dark " : "light ";
        const QColor track = WheelPainter::wheelTrack().resolve(dark);
        QTest::newRow(look + "outer rim") << dark << 157.5 << WheelPainter::wheelRim().resolve(dark);
        QTest::newRow(look + "ball track") << dark << 153.0 << track;
        QTest::newRow(look + "groove")
            << dark << 146.0
            << mix(track, QColor(Qt::black), black8.alphaF());
        QTest::newRow(look + "pocket bed") << dark << 139.0 - 0.8 << Palette::cream().resolve(dark);
        QTest::newRow(look + "zero pocket stays sage") << dark << 80.0 << Palette::sage();
        QTest::newRow(look + "hub rim") << dark << 55.0 << WheelPainter::hubRim().resolve(dark);
        QTest::newRow(look + "hub face") << dark << 35.0 << Palette::cream().resolve(dark);
    }
}

void TestWheelPainter::appearance()
{
    QFETCH(bool, dark);
    QFETCH(double, distance);
    QFETCH(QColor, expected);
    // Ball out of the way, at the bottom.
    const QImage image = render(WheelFrame{0.0, pi / 2, 146, std::nullopt}, dark);
    QCOMPARE_COLOUR(image.pixelColor(pixelAt(-pi / 2, distance)), expected, 2);
}

void TestWheelPainter::wheelTurnsModuloFullTurns()
{
    const WheelFrame turned{0.3, 1.0, 146, 17};
    const QImage reference = render(turned, false);
    for (double extra : {Roulette::tau * 2, -Roulette::tau * 3}) {
        WheelFrame frame = turned;
        frame.wheel += extra;
        QCOMPARE(render(frame, false), reference);
    }
}

void TestWheelPainter::resultOutline_data()
{
    QTest::addColumn<double>("wheel");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("index");

    QTest::newRow("zero") << 0.0 << 0 << 0;
    QTest::newRow("32") << 0.0 << 32 << 1;
    QTest::newRow("26, drawn last, over the zero") << 0.0 << 26 << 36;
    QTest::newRow("17, turned") << 1.234 << 17 << 8;
}

void TestWheelPainter::resultOutline()
{
    QFETCH(double, wheel);
    QFETCH(int, result);
    QFETCH(int, index);
    const QColor highlight = WheelPainter::resultHighlight();
    const auto outlined = [&](const QImage &image, int pocket) {
        // Across the outer edge of the pocket (radius 137) on its centre line.
        const double angle = WheelPainter::pocketAngle(pocket, wheel);
        int best = 255;
        for (double r = 134.0; r <= 140.0; r += 0.25)
            best = std::min(best, colourDistance(image.pixelColor(pixelAt(angle, r)), highlight));
        return best <= 12;
    };
    const QImage lit = render(WheelFrame{wheel, pi / 2, 146, result}, false);
    QVERIFY(outlined(lit, index));
    // Only that pocket.
    for (int other : {(index + 1) % 37, (index + 36) % 37, (index + 18) % 37})
        QVERIFY(!outlined(lit, other));
    const QImage plain = render(WheelFrame{wheel, pi / 2, 146, std::nullopt}, false);
    QVERIFY(!outlined(plain, index));
}

void TestWheelPainter::ball_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("radius");

    QTest::newRow("top of the groove") << -pi / 2 << 146.0;
    QTest::newRow("settled in a pocket") << 0.7 << 129.0;
    QTest::newRow("left, on the track") << pi << 146.0;
    QTest::newRow("unnormalized angle") << 3 * Roulette::tau + 2.0 << 146.0;
}

void TestWheelPainter::ball()
{
    QFETCH(double, angle);
    QFETCH(double, radius);
    // Rendered at twice the pixels so that a pixel is small against the ball's radius of 5.
    const QImage image = render(WheelFrame{0.4, angle, radius, std::nullopt}, false, 2);
    const double scale = 2 * side / 328.0;
    const double bx = 164 + radius * std::cos(angle);
    const double by = 164 + radius * std::sin(angle);
    const auto sample = [&](double x, double y) {
        return image.pixelColor(int(std::floor(x * scale)), int(std::floor(y * scale)));
    };
    // The gradient runs from white at (bx - 2, by - 2) to ballShade at 9 units from there.
    const QColor white(Qt::white);
    QCOMPARE_COLOUR(sample(bx - 2, by - 2), white, 10);
    QCOMPARE_COLOUR(sample(bx, by), mix(white, WheelPainter::ballShade(), std::sqrt(8.0) / 9), 10);
    QCOMPARE_COLOUR(sample(bx + 3, by + 3), mix(white, WheelPainter::ballShade(), std::sqrt(50.0) / 9), 10);
    // The shadow peeks out below right, beyond the ball's edge: darker than what lies beneath.
    const QImage without = render(WheelFrame{0.4, angle + pi, radius, std::nullopt}, false, 2);
    const QColor shadowed = sample(bx + 4.2, by + 4.2);
    const QColor beneath = without.pixelColor(int(std::floor((bx + 4.2) * scale)),
                                              int(std::floor((by + 4.2) * scale)));
    QVERIFY(shadowed.lightness() < beneath.lightness());
}

void TestWheelPainter::sameAsDirectDrawing_data()
{
    QTest::addColumn<double>("wheel");
    QTest::addColumn<std::optional<int>>("result");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("dpr");

    QTest::newRow("at rest, light") << 0.0 << std::optional<int>() << false << 1;
    QTest::newRow("mid-spin, dark") << 2.71 << std::optional<int>() << true << 1;
    QTest::newRow("negative turn, result 5") << -7.9 << std::optional<int>(5) << false << 1;
    QTest::newRow("result 0, dark") << 0.05 << std::optional<int>(0) << true << 1;
    // The still layers are kept per resolution: at twice the pixels they must still land
    // exactly where the shapes would be drawn.
    QTest::newRow("mid-spin, light, dpr 2") << 4.4 << std::optional<int>() << false << 2;
    QTest::newRow("result 26, dark, dpr 2") << 1.1 << std::optional<int>(26) << true << 2;
}

void TestWheelPainter::sameAsDirectDrawing()
{
    QFETCH(double, wheel);
    QFETCH(std::optional<int>, result);
    QFETCH(bool, dark);
    QFETCH(int, dpr);
    const WheelFrame frame{wheel, wheel * 1.7, result ? 129.0 : 146.0, result};
    const QImage prepared = render(frame, dark, dpr);
    const QImage direct = renderDirectly(frame, dark, dpr);
    const int pixels = side * dpr;

    // Text is laid out once here and anew there, which may place glyphs a fraction of a pixel
    // apart; everything else must match. In the text (the ring of numbers and the hub word),
    // 4 x 4 blocks must still agree on average: a number turned or placed wrongly would not.
    const double scale = pixels / 328.0;
    const auto inText = [&](int x, int y) {
        const double dx = (x + 0.5) / scale - 164;
        const double dy = (y + 0.5) / scale - 164;
        const double r = std::hypot(dx, dy);
        return (r > 101 && r < 119) || (std::abs(dx) < 40 && std::abs(dy) < 18);
    };
    int differing = 0;
    int worst = 0;
    for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x) {
            if (inText(x, y))
                continue;
            const int d = colourDistance(prepared.pixelColor(x, y), direct.pixelColor(x, y));
            worst = std::max(worst, d);
            // The faint hub ring is blended ahead of time, which may round differently.
            differing += d > 3;
        }
    }
    QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ, by up to %2")
                                            .arg(differing)
                                            .arg(worst)));

    // Blocks of 4 x 4 points, whatever the resolution.
    const int edge = 4 * dpr;
    const auto block = [edge](const QImage &image, int bx, int by) {
        int r = 0, g = 0, b = 0;
        for (int y = by; y < by + edge; ++y) {
            for (int x = bx; x < bx + edge; ++x) {
                const QColor c = image.pixelColor(x, y);
                r += c.red();
                g += c.green();
                b += c.blue();
            }
        }
        const int n = edge * edge;
        return QColor(r / n, g / n, b / n);
    };
    int worstBlock = 0;
    for (int by = 0; by < pixels; by += edge)
        for (int bx = 0; bx < pixels; bx += edge)
            worstBlock = std::max(worstBlock, colourDistance(block(prepared, bx, by), block(direct, bx, by)));
    QVERIFY2(worstBlock <= 40, qPrintable(QStringLiteral("text blocks differ by up to %1").arg(worstBlock)));
}

QTEST_MAIN(TestWheelPainter)
#include "tst_wheel_painter.moc"
