#include "platform/symbols.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <cmath>

namespace zorvik::Symbols {

namespace {

// Every symbol is designed in "em" units around the origin: 1 em is the font's pixel size, so
// at the header's 14-point font a symbol is about 14 pixels tall. The drawing is turned into
// one filled outline so overlapping strokes never double the colour's opacity.

qreal emPixels(const QFont &font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() * 96.0 / 72.0;
}

// Stroke width for the font's weight: regular text gets 0.09 em, bold about a third more.
qreal strokeWidth(const QFont &font)
{
    return 0.09 * (1.0 + (font.weight() - QFont::Normal) / 900.0);
}

QPainterPath stroked(const QPainterPath &path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

QPainterPath line(QPointF from, QPointF to)
{
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

// The outline of a loudspeaker: magnet on the left, cone opening to the right; the cone's
// mouth ends at x = 0.
QPainterPath speaker()
{
    QPainterPath path;
    path.moveTo(-0.40, -0.13);
    path.lineTo(-0.25, -0.13);
    path.lineTo(-0.04, -0.33);
    path.lineTo(-0.04, 0.33);
    path.lineTo(-0.25, 0.13);
    path.lineTo(-0.40, 0.13);
    path.closeSubpath();
    return path;
}

QPainterPath speakerWave(qreal w)
{
    QPainterPath wave;
    const qreal r = 0.27;
    const QRectF circle(-0.06 - r, -r, 2 * r, 2 * r);
    wave.arcMoveTo(circle, 48);
    wave.arcTo(circle, 48, -96);
    return stroked(speaker(), w).united(stroked(wave, w));
}

QPainterPath speakerSlash(qreal w)
{
    const QPointF from(-0.42, -0.40);
    const QPointF to(0.14, 0.40);
    // Cut a gap around the slash so it reads as crossing the speaker.
    QPainterPath body = stroked(speaker(), w).subtracted(stroked(line(from, to), 3 * w));
    return body.united(stroked(line(from, to), w));
}

QPainterPath minus(qreal w)
{
    return stroked(line({-0.36, 0}, {0.36, 0}), w);
}

QPainterPath circleLeftHalfFilled(qreal w)
{
    const qreal r = 0.42;
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), r, r);
    QPainterPath half;
    half.moveTo(0, -r);
    half.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 90, 180);
    half.closeSubpath();
    return stroked(ring, w).united(half);
}

QPainterPath pin(qreal w)
{
    // A push-pin standing upright: a cap, a slightly narrower barrel that flares into the
    // collar, and the needle below it.
    QPainterPath body;
    body.moveTo(-0.19, -0.46);
    body.lineTo(0.19, -0.46);
    body.lineTo(0.19, -0.37);
    body.lineTo(0.12, -0.33);
    body.lineTo(0.12, -0.08);
    body.cubicTo(0.12, -0.01, 0.26, 0.03, 0.26, 0.11);
    body.lineTo(-0.26, 0.11);
    body.cubicTo(-0.26, 0.03, -0.12, -0.01, -0.12, -0.08);
    body.lineTo(-0.12, -0.33);
    body.lineTo(-0.19, -0.37);
    body.closeSubpath();
    return stroked(body, w).united(stroked(line({0, 0.11}, {0, 0.48}), w));
}

QPainterPath checkmark(qreal w)
{
    QPainterPath path({-0.34, 0.02});
    path.lineTo(-0.10, 0.28);
    path.lineTo(0.34, -0.32);
    return stroked(path, w * 1.15);
}

QPainterPath glyph(const QString &name, qreal w)
{
    if (name == QLatin1String("speaker.wave.1"))
        return speakerWave(w);
    if (name == QLatin1String("speaker.slash"))
        return speakerSlash(w);
    if (name == QLatin1String("minus"))
        return minus(w);
    if (name == QLatin1String("circle.lefthalf.filled"))
        return circleLeftHalfFilled(w);
    if (name == QLatin1String("pin"))
        return pin(w);
    if (name == QLatin1String("checkmark"))
        return checkmark(w);
    return {};
}

} // namespace

void draw(QPainter &painter, const QString &name, const QRectF &rect, const QFont &font,
          const QColor &color)
{
    const QPainterPath path = glyph(name, strokeWidth(font));
    if (path.isEmpty())
        return;
    const qreal em = emPixels(font);
    const QRectF bounds = path.boundingRect();

    // Centre the glyph's ink in rect; snap the offset to whole device pixels so that the
    // symbol renders the same way wherever the button sits.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const auto snap = [ratio](qreal v) { return std::round(v * ratio) / ratio; };
    const QPointF centre = rect.center() - bounds.center() * em;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(snap(centre.x()), snap(centre.y()));
    painter.scale(em, em);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(path);
    painter.restore();
}

} // namespace zorvik::Symbols
