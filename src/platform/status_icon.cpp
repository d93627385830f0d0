#include "platform/status_icon.h"

#include "platform/color_scheme.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace zorvik {

namespace {

constexpr qreal side = 20.0;

// The icon is laid out with the origin at the bottom left and y growing upward.
QRectF flipped(qreal x, qreal y, qreal w, qreal h)
{
    return QRectF(x, side - y - h, w, h);
}

} // namespace

void StatusIcon::paint(QPainter &painter, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 1.1));
    for (const qreal y : {3.0, 7.0, 11.0})
        painter.drawEllipse(flipped(2, y, 16, 6));

    // The hole the ball sits in is cut through the top oval's stroke.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(flipped(13.5, 14, 4, 4));
    painter.restore();

    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(flipped(14.25, 14.75, 2.5, 2.5));
    painter.restore();
}

QImage StatusIcon::image(qreal dpr, bool darkTray)
{
    const int pixels = qRound(side * dpr);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    paint(painter, darkTray ? QColor(Qt::white) : QColor(Qt::black));
    painter.end();
    return image;
}

QIcon StatusIcon::icon(bool darkTray)
{
    QIcon icon;
    for (const qreal dpr : {1.0, 2.0})
        icon.addPixmap(QPixmap::fromImage(image(dpr, darkTray)));
    return icon;
}

bool StatusIcon::darkTray()
{
    switch (ColorScheme::shared().preference()) {
    case ColorScheme::Preference::dark:
        return true;
    case ColorScheme::Preference::light:
        return false;
    case ColorScheme::Preference::none:
        break;
    }
    // Without a stated preference the tray most likely follows the widget palette.
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

} // namespace zorvik
