#include "wheel/wheel_painter.h"

#include "model/roulette.h"
#include "style/fonts.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QPainter>
#include <QRadialGradient>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace zorvik {

namespace {

using namespace WheelGeometry;
constexpr double half = pocketStep * 0.5;
constexpr double inset = 0.007;

double degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}

// Laid-out text: a glyph run per font.
using Glyphs = QList<QGlyphRun>;

// What the numbers need that follows from the constants alone, in wheel-local coordinates
// (centre at the origin, rotation 0); a frame turns the painter by the wheel's rotation.
struct NumberLayout {
    // Each number shaped once into the outlines of its glyphs, each with the place that puts
    // the number's centre on the origin, and the transform that puts that centre on the number
    // ring with its top towards the rim. The numbers share the outline of each digit.
    std::array<QList<std::pair<QPainterPath, QPointF>>, pocketCount> glyphs;
    std::array<QTransform, pocketCount> numberPlaces;
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
    path.moveTo(centre + pocketRingOuter * std::cos(from), centre + pocketRingOuter * std::sin(from));
    // Qt counts arc angles counter-clockwise on screen; ours grow clockwise.
    path.arcTo(WheelPainter::circle(pocketRingOuter), -degrees(from), -sweep);
    path.arcTo(WheelPainter::circle(pocketRingInner), -degrees(to), sweep);
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
        // A glyph's outline is asked of the font once. Asked again it may come back moved by a
        // 64th of a pixel: the font keeps the sub-pixel offset of the text it drew last. Drawn
        // from such an outline, the same frame would differ from one drawing to the next.
        std::vector<std::tuple<QRawFont, quint32, QPainterPath>> taken;
        const auto outlineOf = [&taken](const QRawFont &font, quint32 glyph) {
            for (const auto &[f, g, outline] : taken)
                if (g == glyph && f == font)
                    return outline;
            return std::get<2>(taken.emplace_back(font, glyph, font.pathForGlyph(glyph)));
        };
        for (std::size_t i = 0; i < l.glyphs.size(); ++i) {
            // The plain decimal integer, no grouping.
            for (const QGlyphRun &run : centredGlyphs(QString::number(Roulette::pockets[i]), numberFont)) {
                const QList<quint32> indexes = run.glyphIndexes();
                const QList<QPointF> positions = run.positions();
                for (qsizetype g = 0; g < indexes.size(); ++g)
                    l.glyphs[i].append({outlineOf(run.rawFont(), indexes[g]), positions[g]});
            }
            const double a = pocketAngle(double(i), 0.0);
            l.numberPlaces[i].translate(numberRing * std::cos(a), numberRing * std::sin(a));
            l.numberPlaces[i].rotateRadians(a - top);
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

// Outer rim, ball track with its groove, and the pocket bed.
void paintBed(QPainter &painter, bool dark)
{
    const QColor track = WheelPainter::wheelTrack().resolve(dark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WheelPainter::wheelRim().resolve(dark));
    painter.drawEllipse(WheelPainter::circle(outerRim));
    painter.setBrush(track);
    painter.drawEllipse(WheelPainter::circle(trackRim));
    // The groove is black at 8% opacity, and lies wholly on the plain track: stroking it in
    // the colour that blending would leave gives the same pixels without blending every one.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(over(QColor::fromRgbF(0, 0, 0, 0.08f), track), 9));
    painter.drawEllipse(WheelPainter::circle(outerTrack));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::cream().resolve(dark));
    painter.drawEllipse(WheelPainter::circle(pocketBed));
}

QPen outlinePen()
{
    QPen outline(WheelPainter::resultHighlight(), 2);
    outline.setJoinStyle(Qt::MiterJoin);
    outline.setMiterLimit(10);
    return outline;
}

// The number of pocket `index`, on a painter turned with the wheel about its centre: the
// filled outlines of its glyphs rather than the glyphs. Qt's glyph cache puts a turned glyph on
// whole device pixels, up to half a pixel from its place and a different half pixel at every
// turn of the wheel, which a turned picture of the wheel cannot follow; an outline is drawn
// where it lies. Put together for each drawing from the digits' outlines (the outlines of all
// numbers would hold a third of a megabyte for the few frames drawn shape by shape).
void paintNumber(QPainter &painter, std::size_t index)
{
    const NumberLayout &layout = numberLayout();
    QPainterPath outline;
    // Glyph contours may overlap: filled by the nonzero rule, as the font means them.
    outline.setFillRule(Qt::WindingFill);
    for (const auto &[glyph, at] : layout.glyphs[index])
        outline.addPath(glyph.translated(at));
    painter.fillPath(layout.numberPlaces[index].map(outline), Palette::wheelLabel());
}

// Turns the painter with the wheel about its centre, for the numbers.
void turnAboutCentre(QPainter &painter, double wheel)
{
    painter.translate(centre, centre);
    painter.rotate(degrees(wheel));
}

// Pockets with the winner's outline, then the numbers turned with the wheel.
void paintPockets(QPainter &painter, double wheel, std::optional<int> result)
{
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < pocketCount; ++i) {
        const int n = Roulette::pockets[i];
        const QPainterPath sector = sectorAt(pocketAngle(double(i), wheel));
        painter.fillPath(sector, WheelPainter::pocketColor(n));
        // Drawn before the next pocket, which covers the outline's outer half on that side.
        if (result == n)
            painter.strokePath(sector, outlinePen());
    }
    // The numbers stay inside their pockets, clear of any outline, so they can come last.
    painter.save();
    turnAboutCentre(painter, wheel);
    for (std::size_t i = 0; i < pocketCount; ++i)
        paintNumber(painter, i);
    painter.restore();
}

// Hub rim, face and a faint ring (ink at 9% on the plain face, blended ahead as above).
void paintHubFace(QPainter &painter, bool dark)
{
    const QColor cream = Palette::cream().resolve(dark);
    const QColor ink = Palette::ink().resolve(dark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WheelPainter::hubRim().resolve(dark));
    painter.drawEllipse(WheelPainter::circle(hubRim));
    painter.setBrush(cream);
    painter.drawEllipse(WheelPainter::circle(hubFace));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(over(withOpacity(ink, 0.09), cream), 1));
    painter.drawEllipse(WheelPainter::circle(hubRing));
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

const QColor &WheelPainter::pocketColor(int number)
{
    if (number == 0)
        return Palette::sage();
    return Roulette::isRed(number) ? Palette::rose() : Palette::charcoal();
}

void WheelPainter::paintTurningParts(QPainter &painter, bool dark)
{
    paintBed(painter, dark);
    paintPockets(painter, 0.0, std::nullopt);
    paintHubFace(painter, dark);
}

void WheelPainter::paintRoundParts(QPainter &painter, bool dark)
{
    paintBed(painter, dark);
    paintHubFace(painter, dark);
}

void WheelPainter::paintOutline(QPainter &painter, double wheel, int result)
{
    const auto at = std::find(Roulette::pockets.begin(), Roulette::pockets.end(), result);
    if (at == Roulette::pockets.end())
        return;
    const std::size_t index = std::size_t(at - Roulette::pockets.begin());
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.strokePath(sectorAt(pocketAngle(double(index), wheel)), outlinePen());
    // The last pocket has none after it: the first was drawn under its outline.
    const std::size_t next = index + 1;
    if (next < Roulette::pockets.size()) {
        painter.fillPath(sectorAt(pocketAngle(double(next), wheel)), pocketColor(Roulette::pockets[next]));
        turnAboutCentre(painter, wheel);
        paintNumber(painter, next);
    }
    painter.restore();
}

void WheelPainter::paintHubWord(QPainter &painter, bool dark)
{
    painter.setPen(Palette::ink().resolve(dark));
    drawGlyphs(painter, QPointF(centre, centre), hubWord(tr("zorvik")));
}

QRectF WheelPainter::circle(double radius)
{
    return QRectF(centre - radius, centre - radius, 2 * radius, 2 * radius);
}

QPointF WheelPainter::ballCentre(double ball, double radius)
{
    return QPointF(centre + radius * std::cos(ball), centre + radius * std::sin(ball));
}

QRectF WheelPainter::hubWordBounds()
{
    QRectF bounds;
    for (const QGlyphRun &run : hubWord(tr("zorvik"))) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < indexes.size(); ++g)
            bounds |= run.rawFont().boundingRect(indexes[g]).translated(positions[g]);
    }
    return bounds.translated(centre, centre);
}

void WheelPainter::paintBall(QPainter &painter, QPointF at)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.22f));
    painter.drawEllipse(QRectF(at.x() - 4, at.y() - 3, 11, 11));
    QRadialGradient shine(at - QPointF(2, 2), 9);
    shine.setColorAt(0, Qt::white);
    shine.setColorAt(1, ballShade());
    painter.setBrush(shine);
    painter.drawEllipse(QRectF(at.x() - 5, at.y() - 5, 10, 10));
}

void WheelPainter::paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark)
{
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), canvas), Palette::cream().resolve(dark));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(canvas.width() / side, canvas.height() / side);
    paintBed(painter, dark);
    paintPockets(painter, Roulette::normalized(frame.wheel), frame.result);
    // The hub, over the inner ends of the pockets' gaps.
    paintHubFace(painter, dark);
    paintHubWord(painter, dark);
    paintBall(painter, ballCentre(frame.ball, frame.radius));
    painter.restore();
}

} // namespace zorvik
