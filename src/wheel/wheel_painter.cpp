#include "wheel/wheel_painter.h"

#include "model/roulette.h"
#include "style/fonts.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRadialGradient>
#include <QTextLayout>

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace zorvik {

namespace {

constexpr double pi = 3.141592653589793;
constexpr double step = Roulette::tau / 37.0;
constexpr double half = step * 0.5;
constexpr double inset = 0.007;
constexpr double outerPocket = 137.0;
constexpr double innerPocket = 62.0;
constexpr double numberRing = 110.0;

double degrees(double radians)
{
    return radians * 180.0 / pi;
}

QRectF circle(double radius)
{
    return QRectF(WheelPainter::centre - radius, WheelPainter::centre - radius, 2 * radius,
                  2 * radius);
}

// Laid-out text: a glyph run per font.
using Glyphs = QList<QGlyphRun>;

// What the numbers need that follows from the constants alone, in wheel-local coordinates
// (centre at the origin, rotation 0); a frame turns the painter by the wheel's rotation.
struct NumberLayout {
    // Each number shaped once into glyphs placed around its centre (glyph runs: QStaticText
    // would lay itself out again whenever the painter's transform differs from the one it was
    // prepared for, which is every number in every frame), and the transform that puts its
    // centre on the number ring with its top towards the rim.
    std::array<Glyphs, 37> numbers;
    std::array<QTransform, 37> numberPlaces;
};

// The pocket centred on screen angle a. Built at its turned place each frame rather than
// turned as a prepared shape: Qt splits arcs into curves at the quarter turns and flattens
// them in device space, so a turned prepared path would shade its edges slightly differently.
// Building it costs little next to filling it.
QPainterPath sectorAt(double a)
{
    const double from = a - half + inset;
    const double to = a + half - inset;
    const double sweep = degrees(to - from);
    QPainterPath path;
    path.moveTo(WheelPainter::centre + outerPocket * std::cos(from),
                WheelPainter::centre + outerPocket * std::sin(from));
    // Qt counts arc angles counter-clockwise on screen; ours grow clockwise.
    path.arcTo(circle(outerPocket), -degrees(from), -sweep);
    path.arcTo(circle(innerPocket), -degrees(to), sweep);
    path.closeSubpath();
    return path;
}

// The glyphs of one line of text (a run per font, should some characters come from a
// fallback font), placed so that the centre of its line box (half the advance, half the line
// height) lies on the origin.
Glyphs centredGlyphs(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    Glyphs runs = layout.glyphRuns();
    const QPointF shift(-line.naturalTextWidth() / 2, -line.height() / 2);
    for (QGlyphRun &run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF &position : positions)
            position += shift;
        run.setPositions(positions);
    }
    return runs;
}

void drawGlyphs(QPainter &painter, QPointF at, const Glyphs &glyphs)
{
    for (const QGlyphRun &run : glyphs)
        painter.drawGlyphRun(at, run);
}

const NumberLayout &numberLayout()
{
    static const NumberLayout layout = [] {
        Fonts::load();
        NumberLayout l;
        const QFont numberFont = Fonts::rounded(11, QFont::DemiBold);
        for (int i = 0; i < 37; ++i) {
            const std::size_t at = std::size_t(i);
            // The plain decimal integer, no grouping.
            l.numbers[at] = centredGlyphs(QString::number(Roulette::pockets[at]), numberFont);
            const double a = step * i - pi / 2;
            QTransform place;
            place.translate(numberRing * std::cos(a), numberRing * std::sin(a));
            place.rotateRadians(a + pi / 2);
            l.numberPlaces[at] = place;
        }
        return l;
    }();
    return layout;
}

const QFont &hubFont()
{
    static const QFont font = [] {
        Fonts::load();
        return Fonts::hubWord();
    }();
    return font;
}

// The hub word, shaped again only when its text changes (it goes through the translations).
const Glyphs &hubWord(const QString &text)
{
    static QString shapedText;
    static Glyphs cached;
    if (cached.isEmpty() || shapedText != text) {
        cached = centredGlyphs(text, hubFont());
        shapedText = text;
    }
    return cached;
}

// A translucent colour laid over an opaque one, as source-over blending leaves it.
QColor over(const QColor &top, const QColor &below)
{
    const float a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + below.redF() * (1 - a),
                            top.greenF() * a + below.greenF() * (1 - a),
                            top.blueF() * a + below.blueF() * (1 - a));
}

// Outer rim, ball track with its groove, and the pocket bed, on a painter already scaled to
// the design space.
void paintBed(QPainter &painter, bool dark)
{
    const QColor track = WheelPainter::wheelTrack().resolve(dark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WheelPainter::wheelRim().resolve(dark));
    painter.drawEllipse(circle(160));
    painter.setBrush(track);
    painter.drawEllipse(circle(155));
    // The groove is black at 8% opacity, and lies wholly on the plain track: stroking it in
    // the colour that blending would leave gives the same pixels without blending every one.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(over(QColor::fromRgbF(0, 0, 0, 0.08f), track), 9));
    painter.drawEllipse(circle(146));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::cream().resolve(dark));
    painter.drawEllipse(circle(139));
}

// Hub rim, face, a faint ring (ink at 9% on the plain face, blended ahead as above) and the
// word, which does not turn with the wheel.
void paintHub(QPainter &painter, bool dark)
{
    const QColor cream = Palette::cream().resolve(dark);
    const QColor ink = Palette::ink().resolve(dark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WheelPainter::hubRim().resolve(dark));
    painter.drawEllipse(circle(58));
    painter.setBrush(cream);
    painter.drawEllipse(circle(52));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(over(withOpacity(ink, 0.09), cream), 1));
    painter.drawEllipse(circle(46));
    painter.setPen(ink);
    drawGlyphs(painter, QPointF(WheelPainter::centre, WheelPainter::centre),
               hubWord(WheelPainter::tr("zorvik")));
}

// The bed and the hub never turn and follow only from the constants and the appearance, so
// they are drawn once per appearance, resolution and canvas size into images and blitted
// under and over the pockets each frame. Drawn in device pixels at the same whole-pixel
// offset as on the canvas, they give exactly the pixels of drawing the shapes in place.
struct StillLayers {
    bool dark = false;
    qreal ratio = 1;
    QSizeF canvas;
    QString hubText;
    QImage bed;          // the whole canvas
    QImage hub;          // the hub's square, hubOffset device pixels into the canvas
    QPoint hubOffset;
};

// An image of the whole canvas at the device's ratio (text is rendered differently, unhinted,
// above ratio 1, so the layer must be drawn at the same ratio as the canvas).
QImage layerImage(QSize size, qreal ratio)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

// A painter on a layer image, scaled to the design space.
void beginLayer(QPainter &painter, QImage &image, QSizeF canvas)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(canvas.width() / WheelPainter::designSize, canvas.height() / WheelPainter::designSize);
}

const StillLayers &stillLayers(bool dark, qreal ratio, QSizeF canvas)
{
    // A handful at most: two appearances, and a screen or two of different resolution.
    static std::vector<std::unique_ptr<StillLayers>> cache;
    const QString hubText = WheelPainter::tr("zorvik");
    for (const auto &layers : cache) {
        if (layers->dark == dark && layers->ratio == ratio && layers->canvas == canvas
            && layers->hubText == hubText)
            return *layers;
    }
    auto layers = std::make_unique<StillLayers>();
    layers->dark = dark;
    layers->ratio = ratio;
    layers->canvas = canvas;
    layers->hubText = hubText;

    const QSize pixels(int(std::ceil(canvas.width() * ratio)), int(std::ceil(canvas.height() * ratio)));
    layers->bed = layerImage(pixels, ratio);
    QPainter painter;
    beginLayer(painter, layers->bed, canvas);
    paintBed(painter, dark);
    painter.end();
    // From here on plain pixels, copied 1:1.
    layers->bed.setDevicePixelRatio(1);

    // The hub's square with a pixel to spare for antialiasing. It is drawn from the canvas
    // origin and cut out, since text placed at another origin may land a fraction of a pixel
    // apart; the image drawn on reaches only as far as the square (not over the whole canvas),
    // which keeps this short-lived image, and with it the launch's peak memory, small.
    const double sx = canvas.width() / WheelPainter::designSize * ratio;
    const double sy = canvas.height() / WheelPainter::designSize * ratio;
    const QPoint from(int(std::floor(circle(58).left() * sx)) - 1, int(std::floor(circle(58).top() * sy)) - 1);
    const QPoint to(int(std::ceil(circle(58).right() * sx)) + 1, int(std::ceil(circle(58).bottom() * sy)) + 1);
    QImage hub = layerImage(pixels.boundedTo(QSize(to.x() + 1, to.y() + 1)), ratio);
    beginLayer(painter, hub, canvas);
    paintHub(painter, dark);
    painter.end();
    layers->hubOffset = from;
    layers->hub = hub.copy(QRect(from, to));
    layers->hub.setDevicePixelRatio(1);

    if (cache.size() >= 4)
        cache.erase(cache.begin());
    cache.push_back(std::move(layers));
    return *cache.back();
}

// Where the canvas origin lies in device pixels when the painter maps the canvas onto whole
// device pixels at the device's own ratio, unturned; none otherwise (then the layers are
// drawn shape by shape).
std::optional<QPoint> alignedOrigin(const QPainter &painter, qreal ratio)
{
    const QTransform &device = painter.deviceTransform();
    if (device.type() > QTransform::TxScale || device.m11() != ratio || device.m22() != ratio)
        return std::nullopt;
    if (device.dx() != std::round(device.dx()) || device.dy() != std::round(device.dy()))
        return std::nullopt;
    return QPoint(int(device.dx()), int(device.dy()));
}

// Draws a layer image 1:1 onto device pixels, `at` device pixels from the device's origin.
void blit(QPainter &painter, const QImage &image, QPoint at)
{
    painter.save();
    painter.resetTransform();
    // Whatever the painter still adds on the way to the device (a widget's offset in its
    // window, the device pixel ratio) is undone, leaving a whole-pixel move: a plain copy.
    painter.setTransform(QTransform::fromTranslate(at.x(), at.y()) * painter.deviceTransform().inverted());
    painter.drawImage(QPointF(0, 0), image);
    painter.restore();
}

} // namespace

const AppearanceColor &WheelPainter::wheelRim()
{
    static const AppearanceColor c = appearanceColor(srgb(0.85, 0.82, 0.75), srgb(0.25, 0.32, 0.27));
    return c;
}

const AppearanceColor &WheelPainter::wheelTrack()
{
    static const AppearanceColor c = appearanceColor(srgb(0.91, 0.88, 0.82), srgb(0.19, 0.26, 0.22));
    return c;
}

const AppearanceColor &WheelPainter::hubRim()
{
    static const AppearanceColor c = appearanceColor(srgb(0.88, 0.86, 0.79), srgb(0.24, 0.31, 0.26));
    return c;
}

const QColor &WheelPainter::resultHighlight()
{
    static const QColor c = srgb(1.0, 0.85, 0.53);
    return c;
}

const QColor &WheelPainter::ballShade()
{
    static const QColor c = srgb(0.88, 0.85, 0.76);
    return c;
}

QPainterPath WheelPainter::sectorPath(int index, double wheel)
{
    return sectorAt(pocketAngle(index, wheel));
}

const QColor &WheelPainter::pocketColor(int number)
{
    if (number == 0)
        return Palette::sage();
    return Roulette::isRed(number) ? Palette::rose() : Palette::charcoal();
}

double WheelPainter::pocketAngle(int index, double wheel)
{
    return step * index + wheel - pi / 2;
}

void WheelPainter::paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark)
{
    const NumberLayout &layout = numberLayout();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const std::optional<QPoint> origin = alignedOrigin(painter, ratio);
    const StillLayers *layers = origin ? &stillLayers(dark, ratio, canvas) : nullptr;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Rims, track with its groove, and the pocket bed.
    if (layers)
        blit(painter, layers->bed, *origin);
    painter.scale(canvas.width() / designSize, canvas.height() / designSize);
    if (!layers)
        paintBed(painter, dark);

    // Pockets with the winner's outline, then the numbers turned with the wheel.
    painter.setPen(Qt::NoPen);
    const double wheel = Roulette::normalized(frame.wheel);
    QPen outline(resultHighlight(), 2);
    outline.setJoinStyle(Qt::MiterJoin);
    outline.setMiterLimit(10);
    for (std::size_t i = 0; i < 37; ++i) {
        const int n = Roulette::pockets[i];
        const QPainterPath sector = sectorAt(pocketAngle(int(i), wheel));
        painter.fillPath(sector, pocketColor(n));
        // Drawn before the next pocket, which covers the outline's outer half on that side.
        if (frame.result == n)
            painter.strokePath(sector, outline);
    }
    // The numbers stay inside their pockets, clear of any outline, so they can come last.
    painter.save();
    painter.translate(centre, centre);
    painter.rotate(degrees(wheel));
    const QTransform turned = painter.transform();
    painter.setPen(Palette::wheelLabel());
    for (std::size_t i = 0; i < 37; ++i) {
        painter.setTransform(layout.numberPlaces[i] * turned);
        drawGlyphs(painter, QPointF(0, 0), layout.numbers[i]);
    }
    painter.restore();

    // The hub, over the inner ends of the pockets' gaps.
    if (layers)
        blit(painter, layers->hub, *origin + layers->hubOffset);
    else
        paintHub(painter, dark);

    // Ball, with its shadow.
    const double bx = centre + frame.radius * std::cos(frame.ball);
    const double by = centre + frame.radius * std::sin(frame.ball);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.22f));
    painter.drawEllipse(QRectF(bx - 4, by - 3, 11, 11));
    QRadialGradient shine(QPointF(bx - 2, by - 2), 9);
    shine.setColorAt(0, Qt::white);
    shine.setColorAt(1, ballShade());
    painter.setBrush(shine);
    painter.drawEllipse(QRectF(bx - 5, by - 5, 10, 10));

    painter.restore();
}

} // namespace zorvik
