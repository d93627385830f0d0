#pragma once

#include "wheel/wheel_painter.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QPainter;

namespace zorvik {

// The wheel for the cost of turning a picture. Only the pocket ring looks different at another
// turn: the rims, the track and the hub are circles. Both are drawn once per appearance, canvas
// size and device pixel ratio: the circles into a still picture at the device's resolution,
// the ring into a picture at 1.5 times it. Each frame copies the still picture,
// draws the ring's picture turned over the ring alone, and draws over them what does not turn
// with the wheel: the result outline, the hub word and the ball (a small picture of its own,
// moved to its place).
class WheelLayer {
public:
    // Draws one frame, preparing the pictures first when the appearance, canvas size or device
    // pixel ratio differ from the ones they were drawn for.
    void paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark);

    // Lets the pictures go; the next paint draws them again.
    void release();
    // The memory the pictures hold.
    qsizetype bytes() const;

private:
    void prepare(bool dark, qreal ratio, QSizeF canvas);
    // Device pixels per design unit on the canvas the pictures were drawn for.
    QSizeF pixelsPerUnit() const;
    // Turns a painter in design units with the wheel and scales it to the ring's picture.
    void turnToRing(QPainter &painter, double wheel) const;
    void paintRing(QPainter &painter, double wheel) const;

    QImage m_still;
    // The ring with a margin round it, unturned, and the square of the design space it covers.
    QImage m_ring;
    QRectF m_ringSquare;
    // Device-pixel rectangles, from the canvas's origin, that together cover the ring at any
    // turn and little else: the turned picture is drawn through each in turn.
    std::vector<QRect> m_ringBands;
    // The ball with its shadow, drawn as the ring is, moved each frame to the ball's place.
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
