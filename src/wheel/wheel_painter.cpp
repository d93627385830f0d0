#include "wheel/wheel_painter.h"

#include "model/roulette.h"
#include "platform/fonts.h"

#include <QPainter>
#include <QRadialGradient>
#include <QStaticText>

#include <array>
#include <cmath>

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

// What the numbers need that follows from the constants alone, in wheel-local coordinates
// (centre at the origin, rotation 0); a frame turns the painter by the wheel's rotation.
struct NumberLayout {
    // Each number laid out once, and the transform that puts its centre on the number ring
    // with its top towards the rim.
    std::array<QStaticText, 37> numbers;
    std::array<QTransform, 37> numberPlaces;
    QFont numberFont;
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

QStaticText laidOut(const QString &text, const QFont &font)
{
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return laid;
}

// Draws laid-out text with the centre of its line box (half the advance, half the line
// height) on the origin.
void drawCentred(QPainter &painter, QPointF centre, const QStaticText &text)
{
    const QSizeF size = text.size();
    painter.drawStaticText(centre - QPointF(size.width() / 2, size.height() / 2), text);
}

const NumberLayout &numberLayout()
{
    static const NumberLayout layout = [] {
        Fonts::load();
        NumberLayout l;
        l.numberFont = Fonts::rounded(11, QFont::DemiBold);
        for (int i = 0; i < 37; ++i) {
            const std::size_t at = std::size_t(i);
            // The plain decimal integer, no grouping.
            l.numbers[at] = laidOut(QString::number(Roulette::pockets[at]), l.numberFont);
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

// The hub word, laid out again only when its text changes (it goes through the translations).
const QStaticText &hubWord(const QString &text)
{
    static QStaticText cached;
    static bool prepared = false;
    if (!prepared || cached.text() != text) {
        cached = laidOut(text, hubFont());
        prepared = true;
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
    const QColor cream = Palette::cream().resolve(dark);
    const QColor ink = Palette::ink().resolve(dark);
    const QColor track = wheelTrack().resolve(dark);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(canvas.width() / designSize, canvas.height() / designSize);

    // Rims, track with its groove, and the pocket bed.
    painter.setPen(Qt::NoPen);
    painter.setBrush(wheelRim().resolve(dark));
    painter.drawEllipse(circle(160));
    painter.setBrush(track);
    painter.drawEllipse(circle(155));
    // The groove is black at 8% opacity, and lies wholly on the plain track: stroking it in
    // the colour that blending would leave gives the same pixels without blending every one.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(over(QColor::fromRgbF(0, 0, 0, 0.08f), track), 9));
    painter.drawEllipse(circle(146));
    painter.setPen(Qt::NoPen);
    painter.setBrush(cream);
    painter.drawEllipse(circle(139));

    // Pockets with the winner's outline, then the numbers turned with the wheel.
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
    painter.setFont(layout.numberFont);
    painter.setPen(Palette::wheelLabel());
    for (std::size_t i = 0; i < 37; ++i) {
        painter.setTransform(layout.numberPlaces[i] * turned);
        drawCentred(painter, QPointF(0, 0), layout.numbers[i]);
    }
    painter.restore();

    // Hub: rim, face, and a faint ring (ink at 9% on the plain face, blended ahead as above).
    painter.setBrush(hubRim().resolve(dark));
    painter.drawEllipse(circle(58));
    painter.setBrush(cream);
    painter.drawEllipse(circle(52));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(over(withOpacity(ink, 0.09), cream), 1));
    painter.drawEllipse(circle(46));

    // The hub word does not turn with the wheel.
    painter.setPen(ink);
    painter.setFont(hubFont());
    drawCentred(painter, QPointF(centre, centre), hubWord(tr("zorvik")));

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
