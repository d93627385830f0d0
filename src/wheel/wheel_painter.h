#pragma once

#include "model/wheel_geometry.h"
#include "style/palette.h"

#include <QColor>
#include <QCoreApplication>
#include <QPainterPath>
#include <QSizeF>

#include <optional>

class QPainter;

namespace zorvik {

// What one frame of the wheel shows: the four game properties the drawing reads.
struct WheelFrame {
    double wheel = 0.0;                          // rotation of the wheel, radians
    double ball = WheelGeometry::top;            // absolute angle of the ball, radians
    double radius = WheelGeometry::outerTrack;   // ball centre's distance from the centre, design units
    std::optional<int> result;           // winning number to outline
};

// Draws the wheel shape by shape: rims, pockets and numbers, the winning pocket's outline, the
// hub with its word, and the ball. The frame is a pure function of its inputs; geometry is in
// the wheel's design space (WheelGeometry), scaled to the canvas size. The parts are drawn on a painter
// already scaled to the design space; WheelLayer draws the turning ones once and the others
// over them each frame.
class WheelPainter {
    Q_DECLARE_TR_FUNCTIONS(zorvik::WheelPainter)

public:
    // One complete frame, on the panel card's colour, which fills the whole canvas.
    static void paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark);

    // Everything that is round or turns with the wheel, unturned: rims, track with its groove,
    // the pockets with their numbers, and the hub without its word.
    static void paintTurningParts(QPainter &painter, bool dark);
    // Of those, the circles alone: rims, track and the hub's face.
    static void paintRoundParts(QPainter &painter, bool dark);
    // The outline of the winning pocket, on a wheel drawn without it: the pocket after it in
    // drawing order (and its number) is drawn again over the outline's outer half on that side.
    static void paintOutline(QPainter &painter, double wheel, int result);
    // The hub word, which does not turn with the wheel, and the rectangle its glyphs cover.
    static void paintHubWord(QPainter &painter, bool dark);
    static QRectF hubWordBounds();
    // The ball with its shadow, centred on `at`.
    static void paintBall(QPainter &painter, QPointF at);
    // Where the ball's centre lies for an angle and a distance from the wheel's centre.
    static QPointF ballCentre(double ball, double radius);
    // The square round the circle of that radius about the wheel's centre.
    static QRectF circle(double radius);

    // The wheel's own colours.
    static const AppearanceColor &wheelRim();
    static const AppearanceColor &wheelTrack();
    static const AppearanceColor &hubRim();
    static const QColor &resultHighlight();
    static const QColor &ballShade();

    // The fill colour of a pocket number: sage, rose or charcoal.
    static const QColor &pocketColor(int number);
};

} // namespace zorvik
