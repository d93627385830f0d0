#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

#include <optional>

class QPainter;

namespace zorvik {

// The tray icon: three flat ovals stacked 4 apart with a ball in a hole cut through the top one,
// drawn in code in a 20 x 20 space. Only its opacity carries the shape; the colour is chosen
// to stand out on the tray.
class TrayIconArt {
public:
    // One 20 x 20 point image at the given device pixel ratio, black for a light tray and white
    // for a dark one.
    static QImage image(qreal dpr, bool darkTray);
    // Both ratios (1 and 2) in one icon so it stays crisp on any screen.
    static QIcon icon(bool darkTray);
    // Whether the tray is dark: as the desktop's colour scheme says where it states a
    // preference, else judged from the application palette's window colour.
    static bool darkTray(std::optional<bool> desktopPrefersDark);

    // The drawing itself, into a painter whose 20 x 20 space is already set up.
    static void paint(QPainter &painter, const QColor &colour);
};

} // namespace zorvik
