#pragma once

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
    double wheel = 0.0;                  // rotation of the wheel, radians
    double ball = -1.5707963267948966;   // absolute angle of the ball, radians
    double radius = 146.0;               // ball centre's distance from the centre, design units
    std::optional<int> result;           // winning number to outline
};

// Draws one complete frame of the wheel: rims, pockets and numbers, the winning pocket's
// outline, the hub with its word, and the ball. The frame is a pure function of its inputs;
// geometry is in the 328 x 328 design space, scaled to the canvas size.
class WheelPainter {
    Q_DECLARE_TR_FUNCTIONS(zorvik::WheelPainter)

public:
    static constexpr double designSize = 328.0;
    static constexpr double centre = 164.0;

    static void paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark);

    // The wheel's own colours.
    static const AppearanceColor &wheelRim();
    static const AppearanceColor &wheelTrack();
    static const AppearanceColor &hubRim();
    static const QColor &resultHighlight();
    static const QColor &ballShade();

    // The outline of pocket `index` (of Roulette::pockets) in the design space.
    static QPainterPath sectorPath(int index, double wheel);
    // The fill colour of a pocket number: sage, rose or charcoal.
    static const QColor &pocketColor(int number);
    // Centre angle of pocket `index` on screen for a wheel rotation.
    static double pocketAngle(int index, double wheel);
};

} // namespace zorvik
