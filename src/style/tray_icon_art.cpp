#include "style/tray_icon_art.h"

#include "style/tray_icon_engine.h"

#include <QPainter>

namespace zorvik {

namespace {

constexpr qreal side = 20.0;
constexpr qreal strokeWidth = 1.1;
constexpr QPointF ovalCentres[] = {{10, 6}, {10, 10}, {10, 14}};
constexpr qreal ovalRadiusX = 8, ovalRadiusY = 3;
constexpr QPointF ballCentre{15.5, 4.0};
constexpr qreal holeRadius = 2.0;
constexpr qreal ballRadius = 1.25;
// How far the dark ground reaches beyond the light strokes: most of a pixel at 16 pixels, the
// smallest a tray shows. Chosen by the contrast it gives on greys from black to white.
constexpr qreal groundMargin = 0.8;

QImage layer(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The dark ground under the light glyph: the ovals filled and widened, and a disc around the
// ball that closes the hole.
void paintGround(QPainter &painter, const QColor &colour)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, strokeWidth + 2 * groundMargin));
    painter.setBrush(colour);
    for (const QPointF &centre : ovalCentres)
        painter.drawEllipse(centre, ovalRadiusX, ovalRadiusY);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(ballCentre, ballRadius + groundMargin, ballRadius + groundMargin);
}

} // namespace

void TrayIconArt::paint(QPainter &painter, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, strokeWidth));
    for (const QPointF &centre : ovalCentres)
        painter.drawEllipse(centre, ovalRadiusX, ovalRadiusY);

    // The hole the ball sits in is cut through the top oval's stroke.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(ballCentre, holeRadius, holeRadius);
    painter.restore();

    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(ballCentre, ballRadius, ballRadius);
    painter.restore();
}

QImage TrayIconArt::image(int pixels, std::optional<QColor> ink)
{
    QImage glyph = layer(pixels);
    QPainter painter(&glyph);
    painter.scale(pixels / side, pixels / side);
    paint(painter, ink.value_or(QColor::fromRgb(light)));
    painter.end();
    if (ink)
        return glyph;
    // The ground on a layer of its own: the glyph's hole would cut through it as well.
    QImage image = layer(pixels);
    painter.begin(&image);
    painter.scale(pixels / side, pixels / side);
    paintGround(painter, QColor::fromRgb(ground));
    painter.resetTransform();
    painter.drawImage(0, 0, glyph);
    painter.end();
    return image;
}

QIcon TrayIconArt::icon(std::optional<QColor> ink)
{
    return QIcon(new TrayIconEngine(ink));
}

} // namespace zorvik
