#pragma once

#include <QImage>
#include <QMargins>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace zorvik {

// The soft shadow of a rounded rectangle: black at an opacity, blurred, moved by an offset.
// A small tile holding one blurred corner of each kind and a straight piece of edge is made
// once per device pixel ratio and drawn in nine slices, so a shadow of any size costs the same.
class SoftShadow {
public:
    // A blur radius r reads as a Gaussian of standard deviation r / 2.
    SoftShadow(qreal cornerRadius, qreal blurRadius, QPointF offset, qreal opacity);

    // The room the shadow takes around the rectangle it belongs to.
    QMargins margins() const;

    // Draws the shadow of the rounded rectangle `shape` (in the painter's coordinates) where
    // it shows: around the shape and under its rounded corners, not under its opaque middle.
    void paint(QPainter &painter, const QRectF &shape, qreal devicePixelRatio);

private:
    const QImage &tile(qreal devicePixelRatio);

    qreal m_radius;
    qreal m_blur;
    QPointF m_offset;
    qreal m_opacity;
    QImage m_tile;
};

} // namespace zorvik
