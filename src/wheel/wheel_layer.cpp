#include "wheel/wheel_layer.h"

#include "model/roulette.h"

#include <QPainter>

#include <cmath>

namespace zorvik {

namespace {
// The ball's image around its centre, in design units: the ball and the shadow below and right
// of it, and a unit to spare for antialiasing.
const QRectF ballImageRect(-6, -6, 14, 15);
} // namespace

double WheelLayer::oversampling(qreal ratio)
{
    return ratio > 1.5 ? 1.5 : 2.0;
}

void WheelLayer::release()
{
    m_image = QImage();
    m_ball = QImage();
}

void WheelLayer::prepare(bool dark, qreal ratio, QSizeF canvas)
{
    if (!m_image.isNull() && m_dark == dark && m_ratio == ratio && m_canvas == canvas)
        return;
    m_dark = dark;
    m_ratio = ratio;
    m_canvas = canvas;

    // Its own device pixel ratio makes drawing it at the canvas origin map it onto the canvas.
    const double scale = ratio * oversampling(ratio);
    m_image = QImage(int(std::ceil(canvas.width() * scale)), int(std::ceil(canvas.height() * scale)),
                     QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(scale);
    m_image.fill(Qt::transparent);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(canvas.width() / WheelPainter::designSize, canvas.height() / WheelPainter::designSize);
    WheelPainter::paintTurningParts(painter, dark);
    painter.end();

    const double sx = canvas.width() / WheelPainter::designSize * scale;
    const double sy = canvas.height() / WheelPainter::designSize * scale;
    m_ball = QImage(int(std::ceil(ballImageRect.width() * sx)), int(std::ceil(ballImageRect.height() * sy)),
                    QImage::Format_ARGB32_Premultiplied);
    m_ball.fill(Qt::transparent);
    painter.begin(&m_ball);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(sx, sy);
    WheelPainter::paintBall(painter, -ballImageRect.topLeft());
    m_ballRect = QRectF(ballImageRect.topLeft(), QSizeF(m_ball.width() / sx, m_ball.height() / sy));
}

void WheelLayer::paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark)
{
    prepare(dark, painter.device() ? painter.device()->devicePixelRatio() : 1.0, canvas);
    const double wheel = Roulette::normalized(frame.wheel);

    painter.save();
    painter.scale(canvas.width() / WheelPainter::designSize, canvas.height() / WheelPainter::designSize);
    painter.save();
    painter.translate(WheelPainter::centre, WheelPainter::centre);
    painter.rotate(wheel * 180.0 / 3.141592653589793);
    painter.translate(-WheelPainter::centre, -WheelPainter::centre);
    painter.scale(WheelPainter::designSize / canvas.width(), WheelPainter::designSize / canvas.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QPointF(0, 0), m_image);
    painter.restore();

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (frame.result)
        WheelPainter::paintOutline(painter, wheel, *frame.result);
    WheelPainter::paintHubWord(painter, dark);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(m_ballRect.translated(WheelPainter::ballCentre(frame.ball, frame.radius)), m_ball);
    painter.restore();
}

} // namespace zorvik
