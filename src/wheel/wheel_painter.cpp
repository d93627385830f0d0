#include "wheel/wheel_painter.h"

#include "model/roulette.h"
#include "platform/fonts.h"

#include <QCoreApplication>
#include <QFontMetricsF>
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

// Everything about the pockets that follows from the constants alone, in wheel-local
// coordinates (centre at the origin, rotation 0). A frame turns the painter by the wheel's
// rotation and fills these, which gives the same shapes as building them at the turned angles.
struct PocketLayout {
    std::array<QPainterPath, 37> sectors;
    // All pockets of one colour in one path. Pockets of the same colour never touch (the
    // colours alternate around the wheel), so one fill covers exactly what separate fills would.
    QPainterPath rose;
    QPainterPath charcoal;
    QPainterPath sage;
    // The outlines of all 37 numbers, each centred on its place on the number ring and
    // turned so that its top faces the rim.
    QPainterPath numbers;
};

QPainterPath buildSector(int index)
{
    const double a = step * index - pi / 2;
    const double from = a - half + inset;
    const double to = a + half - inset;
    const double sweep = degrees(to - from);
    QPainterPath path;
    path.moveTo(outerPocket * std::cos(from), outerPocket * std::sin(from));
    // Qt counts arc angles counter-clockwise on screen; ours grow clockwise.
    path.arcTo(QRectF(-outerPocket, -outerPocket, 2 * outerPocket, 2 * outerPocket),
               -degrees(from), -sweep);
    path.arcTo(QRectF(-innerPocket, -innerPocket, 2 * innerPocket, 2 * innerPocket),
               -degrees(to), sweep);
    path.closeSubpath();
    return path;
}

// The number's outline centred on the origin: the text box's centre (half the advance, half
// the line height) sits on the anchor.
QPainterPath buildNumber(int number, const QFont &font, const QFontMetricsF &metrics)
{
    // The plain decimal integer, no grouping.
    const QString text = QString::number(number);
    QPainterPath path;
    path.addText(QPointF(-metrics.horizontalAdvance(text) / 2,
                         (metrics.ascent() - metrics.descent()) / 2),
                 font, text);
    return path;
}

const PocketLayout &pocketLayout()
{
    static const PocketLayout layout = [] {
        Fonts::load();
        PocketLayout l;
        const QFont font = Fonts::rounded(11, QFont::DemiBold);
        const QFontMetricsF metrics(font);
        l.numbers.setFillRule(Qt::WindingFill);
        for (int i = 0; i < 37; ++i) {
            const int n = Roulette::pockets[std::size_t(i)];
            l.sectors[std::size_t(i)] = buildSector(i);
            QPainterPath &bucket =
                n == 0 ? l.sage : (Roulette::isRed(n) ? l.rose : l.charcoal);
            bucket.addPath(l.sectors[std::size_t(i)]);

            const double a = step * i - pi / 2;
            QTransform place;
            place.translate(numberRing * std::cos(a), numberRing * std::sin(a));
            place.rotateRadians(a + pi / 2);
            l.numbers.addPath(place.map(buildNumber(n, font, metrics)));
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

// The hub word, laid out once per text (it goes through the translations).
const QStaticText &hubWord(const QString &text)
{
    static QStaticText cached;
    static bool prepared = false;
    if (!prepared || cached.text() != text) {
        cached = QStaticText(text);
        cached.setTextFormat(Qt::PlainText);
        cached.prepare(QTransform(), hubFont());
        prepared = true;
    }
    return cached;
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

const QPainterPath &WheelPainter::sectorPath(int index)
{
    return pocketLayout().sectors.at(std::size_t(index));
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
    const PocketLayout &layout = pocketLayout();
    const QColor cream = Palette::cream().resolve(dark);
    const QColor ink = Palette::ink().resolve(dark);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(canvas.width() / designSize, canvas.height() / designSize);

    // Rims, track with its groove, and the pocket bed.
    painter.setPen(Qt::NoPen);
    painter.setBrush(wheelRim().resolve(dark));
    painter.drawEllipse(circle(160));
    painter.setBrush(wheelTrack().resolve(dark));
    painter.drawEllipse(circle(155));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.08f), 9));
    painter.drawEllipse(circle(146));
    painter.setPen(Qt::NoPen);
    painter.setBrush(cream);
    painter.drawEllipse(circle(139));

    // Pockets and numbers, turned with the wheel.
    painter.save();
    painter.translate(centre, centre);
    painter.rotate(degrees(Roulette::normalized(frame.wheel)));
    std::optional<int> highlighted;
    if (frame.result) {
        for (int i = 0; i < 37; ++i)
            if (Roulette::pockets[std::size_t(i)] == *frame.result)
                highlighted = i;
    }
    if (!highlighted) {
        painter.fillPath(layout.sage, Palette::sage());
        painter.fillPath(layout.rose, Palette::rose());
        painter.fillPath(layout.charcoal, Palette::charcoal());
    } else {
        // The outline lies over the pockets before it and under the ones after it.
        QPen outline(resultHighlight(), 2);
        outline.setJoinStyle(Qt::MiterJoin);
        outline.setMiterLimit(10);
        for (int i = 0; i < 37; ++i) {
            const QPainterPath &sector = layout.sectors[std::size_t(i)];
            painter.fillPath(sector, pocketColor(Roulette::pockets[std::size_t(i)]));
            if (i == *highlighted)
                painter.strokePath(sector, outline);
        }
    }
    painter.fillPath(layout.numbers, Palette::wheelLabel());
    painter.restore();

    // Hub.
    painter.setBrush(hubRim().resolve(dark));
    painter.drawEllipse(circle(58));
    painter.setBrush(cream);
    painter.drawEllipse(circle(52));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(withOpacity(ink, 0.09), 1));
    painter.drawEllipse(circle(46));

    const QStaticText &word =
        hubWord(tr("zorvik"));
    painter.setPen(ink);
    painter.setFont(hubFont());
    const QSizeF wordSize = word.size();
    painter.drawStaticText(QPointF(centre - wordSize.width() / 2, centre - wordSize.height() / 2),
                           word);

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
