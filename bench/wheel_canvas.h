#pragma once

// What the wheel benchmarks share: the offscreen platform unless the caller chose one, the
// bundled fonts, and the wheel's canvas, as wide as the panel shows it, at a device pixel ratio.
#include "model/wheel_geometry.h"
#include "style/fonts.h"

#include <QGuiApplication>
#include <QImage>

namespace zorvik::bench {

inline constexpr int wheelSide = WheelGeometry::shownSide;

// Runs a wheel benchmark's body on a GUI application with the fonts loaded.
template <typename Body>
int runOffscreen(int argc, char **argv, Body body)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Fonts::load();
    return body(argc, argv);
}

// A cleared ARGB32 premultiplied canvas of the wheel's size at that ratio.
inline QImage wheelCanvas(int dpr)
{
    QImage image(wheelSide * dpr, wheelSide * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

} // namespace zorvik::bench
