#include "style/tray_icon_art.h"

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

void TrayIconArt::paint(QPainter &painter, const QColor &colour)
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

QImage TrayIconArt::image(qreal dpr, bool darkTray)
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

QIcon TrayIconArt::icon(bool darkTray)
{
    QIcon icon;
    for (const qreal dpr : {1.0, 2.0})
        icon.addPixmap(QPixmap::fromImage(image(dpr, darkTray)));
    return icon;
}

bool TrayIconArt::darkTray(std::optional<bool> desktopPrefersDark)
{
    // Without a stated preference the tray most likely follows the widget palette.
    return desktopPrefersDark.value_or(QGuiApplication::palette().color(QPalette::Window).lightness() < 128);
}

} // namespace zorvik
