#include "style/palette.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QVariant>
#include <QWidget>

namespace zorvik {

namespace {
constexpr char darkProperty[] = "zorvikDark";

// Generic RGB: gamma 1.8, its own primaries, D65 white.
const QColorTransform &genericToSrgb()
{
    static const QColorTransform transform = [] {
        const QColorSpace generic(QPointF(0.3127, 0.3290), QPointF(0.630, 0.340),
                                  QPointF(0.295, 0.605), QPointF(0.155, 0.077),
                                  QColorSpace::TransferFunction::Gamma, 1.8f);
        return generic.transformationToColorSpace(QColorSpace(QColorSpace::SRgb));
    }();
    return transform;
}
} // namespace

QColor AppearanceColor::resolve(const QWidget *widget) const
{
    return resolve(isDarkAppearance(widget));
}

AppearanceColor appearanceColor(const QColor &light, const QColor &dark)
{
    return AppearanceColor(light, dark);
}

bool isDarkAppearance(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant dark = w->property(darkProperty);
        if (dark.isValid())
            return dark.toBool();
    }
    return false;
}

void setDarkAppearance(QWidget *root, bool dark)
{
    root->setProperty(darkProperty, dark);
    root->update();
    for (QWidget *child : root->findChildren<QWidget *>())
        child->update();
}

QColor srgb(double red, double green, double blue, double opacity)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(opacity));
}

QColor calibratedRgb(double red, double green, double blue, double opacity)
{
    QColor c = genericToSrgb().map(QColor::fromRgbF(float(red), float(green), float(blue)));
    c.setAlphaF(float(opacity));
    return c;
}

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

namespace Palette {

const AppearanceColor &cream()
{
    static const AppearanceColor c = appearanceColor(srgb(0.96, 0.94, 0.89), srgb(0.1, 0.15, 0.13));
    return c;
}

const AppearanceColor &ink()
{
    static const AppearanceColor c = appearanceColor(srgb(0.25, 0.29, 0.28), srgb(0.9, 0.94, 0.9));
    return c;
}

const AppearanceColor &headerTint()
{
    static const AppearanceColor c =
        appearanceColor(calibratedRgb(0.35, 0.47, 0.4), calibratedRgb(0.65, 0.77, 0.68));
    return c;
}

const QColor &rose()
{
    static const QColor c = srgb(0.72, 0.39, 0.39);
    return c;
}

const QColor &charcoal()
{
    static const QColor c = srgb(0.32, 0.36, 0.36);
    return c;
}

const QColor &sage()
{
    static const QColor c = srgb(0.48, 0.61, 0.49);
    return c;
}

const QColor &wheelLabel()
{
    static const QColor c = srgb(0.96, 0.94, 0.89);
    return c;
}

} // namespace Palette
} // namespace zorvik
