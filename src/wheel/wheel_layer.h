#pragma once

#include "wheel/wheel_painter.h"

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QSizeF>

class QPainter;

namespace zorvik {

// The wheel for the cost of turning a picture. Everything that is round or turns with the
// wheel (rims, track, pockets with their numbers, the hub's face) is drawn once per
// appearance, canvas size and device pixel ratio into an image at `oversampling` times the
// device's resolution; each frame draws that image turned and smoothly brought down to the
// device, then draws over it only what does not turn with it: the result outline, the hub word
// and the ball (itself a small image prepared alongside, moved to its place).
class WheelLayer {
public:
    // Device pixels of the image per device pixel of the canvas. Turning an image resamples it
    // (bilinearly): at the canvas's own resolution that softens every edge by up to a pixel;
    // from about twice it the result stays as close to the shapes drawn in place as the eye
    // can tell, and beyond twice the resampling skips pixels and loses again. Above ratio 1.5
    // the pixels are small enough that 1.5 times does nearly as well, for half the memory.
    static double oversampling(qreal ratio);

    // Draws one frame, preparing the images first when the appearance, canvas size or device
    // pixel ratio differ from the ones they were drawn for.
    void paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark);

    // Lets the images go; the next paint draws them again.
    void release();

private:
    void prepare(bool dark, qreal ratio, QSizeF canvas);

    QImage m_image;
    // The ball with its shadow, drawn as the image is, moved each frame to the ball's place.
    QImage m_ball;
    QRectF m_ballRect; // where it lies around the ball's centre, in design units
    // The hub word on the hub's face in device pixels, and where it lies from the canvas's
    // origin: copied pixel for pixel onto a canvas on whole device pixels, it gives exactly the
    // pixels of drawing the glyphs there, for a fraction of the cost. None when the word
    // reaches beyond the plain face.
    QImage m_word;
    QPoint m_wordAt;
    bool m_dark = false;
    qreal m_ratio = 0;
    QSizeF m_canvas;
};

} // namespace zorvik
