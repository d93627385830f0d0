#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QLatin1StringView>

#include <optional>

class QPainter;

namespace zorvik {

// The tray icon: three flat ovals stacked 4 apart with a ball in a hole cut through the top one,
// drawn in code in a 20 x 20 space. The same drawing is installed as the symbolic icon
// "zorvik-symbolic", which trays that look icons up by name draw in their panel's own colour.
// Trays that show the picture instead get it in the colour the tray asks for where it names
// one, else in a form that stands out on light and dark panels alike: light strokes on a dark
// ground the shape of the ovals (the strokes show on dark panels, the ground on light ones).
class TrayIconArt {
public:
    static constexpr QLatin1StringView symbolicName{"zorvik-symbolic"};
    static constexpr QRgb light = 0xfff6f5f4;
    static constexpr QRgb ground = 0xff1e1b24;

    // The icon handed to the tray: named symbolicName, its picture drawn at whatever size the
    // tray asks for, in ink where the tray names its foreground colour, else light on a dark ground.
    static QIcon icon(std::optional<QColor> ink);
    // The picture, side x side pixels.
    static QImage image(int side, std::optional<QColor> ink);

    // The drawing in one colour, into a painter whose 20 x 20 space is already set up. It clears
    // its hole, so the painter's device must be a layer of its own.
    static void paint(QPainter &painter, const QColor &colour);
};

} // namespace zorvik
