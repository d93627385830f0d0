#include "style/symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <cmath>

namespace zorvik::Symbols {

namespace {

// Every symbol is designed in "em" units around the origin: 1 em is the font's pixel size, so
// at the header's 14-pixel font a symbol is 14 pixels tall. The drawing is turned into
// one filled outline so overlapping strokes never double the colour's opacity.
//
// Shapes are scaled to pixels before they are stroked: the stroker flattens curves with a
// tolerance in absolute units, which would make em-sized circles visibly polygonal.
class Pen {
public:
    explicit Pen(const QFont &font)
        : m_em(font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0),
          // Regular text gets 0.09 em; bolder faces somewhat more.
          m_width(0.09 * (1.0 + (font.weight() - QFont::Normal) / 900.0))
    {
    }

    qreal width() const { return m_width; }

    QPainterPath fill(const QPainterPath &emPath) const
    {
        return QTransform::fromScale(m_em, m_em).map(emPath);
    }

    QPainterPath stroke(const QPainterPath &emPath, qreal widthFactor = 1) const
    {
        QPainterPathStroker stroker;
        stroker.setWidth(m_width * widthFactor * m_em);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCurveThreshold(0.01);
        return stroker.createStroke(fill(emPath)).simplified();
    }

private:
    qreal m_em;
    qreal m_width;
};

QPainterPath line(QPointF from, QPointF to)
{
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

// The outline of a loudspeaker: magnet on the left, cone opening to the right, its mouth at
// x = -0.02.
QPainterPath speaker()
{
    QPainterPath path;
    path.moveTo(-0.42, -0.15);
    path.lineTo(-0.26, -0.15);
    path.lineTo(-0.02, -0.38);
    path.lineTo(-0.02, 0.38);
    path.lineTo(-0.26, 0.15);
    path.lineTo(-0.42, 0.15);
    path.closeSubpath();
    return path;
}

QPainterPath speakerWave(const Pen &pen)
{
    QPainterPath wave;
    const qreal r = 0.26;
    const QRectF circle(-0.04 - r, -r, 2 * r, 2 * r);
    wave.arcMoveTo(circle, 50);
    wave.arcTo(circle, 50, -100);
    return pen.stroke(speaker()).united(pen.stroke(wave));
}

QPainterPath speakerSlash(const Pen &pen)
{
    const QPointF from(-0.46, -0.44);
    const QPointF to(0.16, 0.44);
    // A gap around the slash so that it reads as lying across the speaker.
    const QPainterPath body = pen.stroke(speaker()).subtracted(pen.stroke(line(from, to), 2.6));
    return body.united(pen.stroke(line(from, to)));
}

QPainterPath minus(const Pen &pen)
{
    return pen.stroke(line({-0.36, 0}, {0.36, 0}));
}

QPainterPath halfFilledCircle(const Pen &pen)
{
    const qreal r = 0.42;
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), r, r);
    QPainterPath half;
    half.moveTo(0, -r);
    half.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 90, 180);
    half.closeSubpath();
    return pen.stroke(ring).united(pen.fill(half));
}

QPainterPath pin(const Pen &pen)
{
    // A push-pin standing upright: a cap, a slightly narrower barrel that flares into the
    // collar, and the needle below it.
    QPainterPath body;
    body.moveTo(-0.2, -0.46);
    body.lineTo(0.2, -0.46);
    body.lineTo(0.2, -0.37);
    body.lineTo(0.12, -0.33);
    body.lineTo(0.12, -0.08);
    body.cubicTo(0.12, -0.01, 0.27, 0.03, 0.27, 0.11);
    body.lineTo(-0.27, 0.11);
    body.cubicTo(-0.27, 0.03, -0.12, -0.01, -0.12, -0.08);
    body.lineTo(-0.12, -0.33);
    body.lineTo(-0.2, -0.37);
    body.closeSubpath();
    return pen.stroke(body).united(pen.stroke(line({0, 0.11}, {0, 0.48})));
}

QPainterPath checkmark(const Pen &pen)
{
    QPainterPath path({-0.34, 0.02});
    path.lineTo(-0.10, 0.28);
    path.lineTo(0.34, -0.32);
    return pen.stroke(path, 1.15);
}

// Every symbol has its drawing: the compiler names a symbol left out of the switch.
QPainterPath glyph(Symbol symbol, const Pen &pen)
{
    switch (symbol) {
    case Symbol::speakerWave:
        return speakerWave(pen);
    case Symbol::speakerSlash:
        return speakerSlash(pen);
    case Symbol::minus:
        return minus(pen);
    case Symbol::halfFilledCircle:
        return halfFilledCircle(pen);
    case Symbol::pin:
        return pin(pen);
    case Symbol::checkmark:
        return checkmark(pen);
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace

void draw(QPainter &painter, Symbol symbol, const QRectF &rect, const QFont &font, const QColor &color)
{
    const QPainterPath path = glyph(symbol, Pen(font));

    // Centre the glyph's ink in rect with its top-left edge on a whole device pixel, so that
    // thin horizontal and vertical strokes start on a pixel boundary.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const auto snap = [ratio](qreal v) { return std::round(v * ratio) / ratio; };
    const QRectF bounds = path.boundingRect();
    const QPointF topLeft = rect.center() - QPointF(bounds.width(), bounds.height()) / 2;
    const QPointF offset = QPointF(snap(topLeft.x()), snap(topLeft.y())) - bounds.topLeft();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(path);
    painter.restore();
}

} // namespace zorvik::Symbols
