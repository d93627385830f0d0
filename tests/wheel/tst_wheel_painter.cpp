#include "direct_wheel_drawing.h"

#include <QImage>
#include <QtTest>

#include <cmath>
#include <functional>

using namespace zorvik;

namespace {

constexpr double pi = 3.141592653589793;
constexpr double step = Roulette::tau / 37;
constexpr int side = 280;

using Paint = void (*)(QPainter &, QSizeF, const WheelFrame &, bool);

QImage render(const WheelFrame &frame, bool dark, int dpr = 1, Paint paint = WheelPainter::paint)
{
    QImage image(side * dpr, side * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QSizeF(side, side), frame, dark);
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

// The largest colour distance between two images of one size, leaving out the pixels skipped.
int worstDistance(const QImage &a, const QImage &b, const std::function<bool(int, int)> &skip = {})
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!skip || !skip(x, y))
                worst = std::max(worst, colourDistance(a.pixelColor(x, y), b.pixelColor(x, y)));
    return worst;
}

} // namespace

class TestWheelPainter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::load(); }

    // Pockets in wheel order whatever the turn (the colours are not the look's).
    void pocketColours_data()
    {
        QTest::addColumn<double>("wheel");
        QTest::addColumn<double>("angle"); // on screen
        QTest::addColumn<QColor>("expected");
        const double top = -pi / 2;
        QTest::newRow("0 at the top") << 0.0 << top << Palette::sage();
        QTest::newRow("32 next clockwise") << 0.0 << top + step << Palette::rose();
        QTest::newRow("15 after it") << 0.0 << top + 2 * step << Palette::charcoal();
        QTest::newRow("quarter turn: 0 at 3 o'clock") << pi / 2 << 0.0 << Palette::sage();
        QTest::newRow("turned back 5 pockets: 21 on top") << -5 * step << top << Palette::rose();
    }
    void pocketColours()
    {
        QFETCH(double, wheel);
        QFETCH(double, angle);
        QFETCH(QColor, expected);
        for (const bool dark : {false, true}) {
            const QImage image = render(WheelFrame{wheel, pi / 2, 146, std::nullopt}, dark);
            // Between the inner edge (62) and the ring of numbers (110).
            const QColor seen = image.pixelColor(pixelAt(angle, 75));
            QVERIFY2(colourDistance(seen, expected) <= 2, qPrintable(seen.name(QColor::HexArgb)));
        }
    }

    // The prepared shapes against the plain drawing: rims, pockets, numbers, the result's
    // outline, hub and ball. The rows change look and resolution, for which the still layers
    // are kept apart.
    void sameAsDirectDrawing_data()
    {
        QTest::addColumn<double>("wheel");
        QTest::addColumn<std::optional<int>>("result");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<int>("dpr");
        QTest::newRow("at rest, light") << 0.0 << std::optional<int>() << false << 1;
        QTest::newRow("three turns on, dark") << 21.6 << std::optional<int>() << true << 1;
        QTest::newRow("negative turn, result 5") << -7.9 << std::optional<int>(5) << false << 1;
        QTest::newRow("result 0, dark") << 0.05 << std::optional<int>(0) << true << 1;
        QTest::newRow("mid-spin, light, dpr 2") << 4.4 << std::optional<int>() << false << 2;
        QTest::newRow("result 26, dark, dpr 2") << 1.1 << std::optional<int>(26) << true << 2;
    }
    void sameAsDirectDrawing()
    {
        QFETCH(double, wheel);
        QFETCH(std::optional<int>, result);
        QFETCH(bool, dark);
        QFETCH(int, dpr);
        const WheelFrame frame{wheel, wheel * 1.7, result ? 129.0 : 146.0, result};
        const QImage prepared = render(frame, dark, dpr);
        const QImage direct = render(frame, dark, dpr, testing::paintWheelDirectly);
        if (result) // outlined at all (where, the plain drawing tells)
            QVERIFY(prepared != render(WheelFrame{frame.wheel, frame.ball, frame.radius, std::nullopt}, dark, dpr));
        const int pixels = side * dpr;

        // Text is laid out once here and anew there, which may place glyphs a fraction of a
        // pixel apart; everything else must match (within 3, as the faint hub ring is blended
        // ahead of time). In the text (the ring of numbers and the hub word), 4 x 4 point blocks
        // must still agree on average: a number turned or placed wrongly would not.
        const double scale = pixels / 328.0;
        const int outsideText = worstDistance(prepared, direct, [scale](int x, int y) {
            const double dx = (x + 0.5) / scale - 164, dy = (y + 0.5) / scale - 164;
            const double r = std::hypot(dx, dy);
            return (r > 101 && r < 119) || (std::abs(dx) < 40 && std::abs(dy) < 18);
        });
        QVERIFY2(outsideText <= 3, qPrintable(QStringLiteral("pixels differ by up to %1").arg(outsideText)));
        const QSize blocks(pixels / (4 * dpr), pixels / (4 * dpr));
        const auto averaged = [&](const QImage &image) {
            return image.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        const int inBlocks = worstDistance(averaged(prepared), averaged(direct));
        QVERIFY2(inBlocks <= 40, qPrintable(QStringLiteral("4 x 4 blocks differ by up to %1").arg(inBlocks)));
    }
};

QTEST_MAIN(TestWheelPainter)
#include "tst_wheel_painter.moc"
