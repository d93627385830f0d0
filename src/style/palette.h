#pragma once

#include <QColor>

class QWidget;

namespace zorvik {

// A colour with a light and a dark form, picked each time it is drawn.
class AppearanceColor {
public:
    AppearanceColor(const QColor &light, const QColor &dark) : m_light(light), m_dark(dark) {}
    QColor resolve(bool dark) const { return dark ? m_dark : m_light; }
    // Resolved against the effective appearance of the panel the widget sits in.
    QColor resolve(const QWidget *widget) const;
    QColor light() const { return m_light; }
    QColor dark() const { return m_dark; }

private:
    QColor m_light;
    QColor m_dark;
};

AppearanceColor appearanceColor(const QColor &light, const QColor &dark);

// The effective appearance of a widget: the nearest ancestor (or itself) that carries the
// "zorvikDark" property decides; without one the look is light. The panel content sets the
// property from its appearance setting and the desktop's preference.
bool isDarkAppearance(const QWidget *widget);
void setDarkAppearance(QWidget *root, bool dark);

// Components in double precision, as the palette gives them.
QColor srgb(double red, double green, double blue, double opacity = 1.0);
// A colour given in calibrated (generic) RGB, converted to sRGB for drawing.
QColor calibratedRgb(double red, double green, double blue, double opacity = 1.0);

// Returns the colour with its opacity multiplied by the factor.
QColor withOpacity(QColor color, double opacity);

namespace Palette {
const AppearanceColor &cream();
const AppearanceColor &ink();
const AppearanceColor &headerTint();
const QColor &rose();
const QColor &charcoal();
const QColor &sage();
const QColor &wheelLabel();
} // namespace Palette

} // namespace zorvik
