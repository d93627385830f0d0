#pragma once

#include "wheel/wheel_painter.h"

#include <QImage>
#include <QSizeF>
#include <QString>

class QPainter;

namespace zorvik {

// The wheel for the cost of turning a picture. Everything that is round or turns with the
// wheel (rims, track, pockets with their numbers, the hub's face) is drawn once per
// appearance, canvas size and device pixel ratio into an image at `oversampling` times the
// device's resolution; each frame draws that image turned and smoothly brought down to the
// device, then draws over it only what does not turn with it: the result outline, the hub word
// and the ball (itself a small prepared image, moved to its place).
class WheelLayer {
public:
    // Device pixels of the image per device pixel of the canvas. Turning an image resamples
    // it; at the device's own resolution every edge is softened by up to a pixel on each side,
    // from twice that the sampling stays within about half a pixel of the drawing's own.
    static double oversampling(qreal ratio);

    // Draws one frame, preparing the image first when the appearance, canvas size, device
    // pixel ratio or hub word differ from the ones it was drawn for.
    void paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark);

    // Lets the image go; the next paint draws it again.
    void release();

private:
    void prepare(bool dark, qreal ratio, QSizeF canvas);

    QImage m_image;
    // The ball with its shadow, drawn as the image is, moved each frame to the ball's place.
    QImage m_ball;
    bool m_dark = false;
    qreal m_ratio = 0;
    QSizeF m_canvas;
    QString m_hubText;
};

} // namespace zorvik
