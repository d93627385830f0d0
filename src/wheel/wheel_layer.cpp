#include "wheel/wheel_layer.h"

#include "model/roulette.h"
#include "style/palette.h"

#include <QPainter>

#include <QLineF>

#include <cmath>
#include <optional>

namespace zorvik {

namespace {
// The hub's plain face, inside its faint ring, in design units.
constexpr double faceRadius = 45;

// Where the canvas's origin lies in device pixels, when the painter maps the canvas onto whole
// device pixels at the device's own ratio, unturned.
std::optional<QPoint> alignedOrigin(const QPainter &painter, qreal ratio)
{
    const QTransform &device = painter.deviceTransform();
    if (device.type() > QTransform::TxScale || device.m11() != ratio || device.m22() != ratio
        || device.dx() != std::round(device.dx()) || device.dy() != std::round(device.dy()))
        return std::nullopt;
    return QPoint(int(device.dx()), int(device.dy()));
}

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
    // Opaque: the card's colour all round the wheel, so that turning it needs no blending.
    m_image = QImage(int(std::ceil(canvas.width() * scale)), int(std::ceil(canvas.height() * scale)),
                     QImage::Format_RGB32);
    m_image.setDevicePixelRatio(scale);
    m_image.fill(Palette::cream().resolve(dark));
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
    painter.end();
    m_ballRect = QRectF(ballImageRect.topLeft(), QSizeF(m_ball.width() / sx, m_ball.height() / sy));

    const QRectF word = WheelPainter::hubWordBounds();
    const QPointF centre(WheelPainter::centre, WheelPainter::centre);
    const auto onFace = [&](QPointF corner) { return QLineF(centre, corner).length() < faceRadius; };
    const double px = canvas.width() / WheelPainter::designSize * ratio;
    const double py = canvas.height() / WheelPainter::designSize * ratio;
    const QRect pixels = QRectF(word.x() * px, word.y() * py, word.width() * px, word.height() * py)
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1);
    m_word = QImage();
    if (onFace(word.topLeft()) && onFace(word.topRight()) && onFace(word.bottomLeft()) && onFace(word.bottomRight())) {
        m_word = QImage(pixels.size(), QImage::Format_RGB32);
        m_word.setDevicePixelRatio(ratio);
        m_word.fill(Palette::cream().resolve(dark));
        painter.begin(&m_word);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.translate(-QPointF(pixels.topLeft()) / ratio);
        painter.scale(canvas.width() / WheelPainter::designSize, canvas.height() / WheelPainter::designSize);
        WheelPainter::paintHubWord(painter, dark);
        painter.end();
        m_word.setDevicePixelRatio(1);
        m_wordAt = pixels.topLeft();
    }
}

void WheelLayer::paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark)
{
    prepare(dark, painter.device() ? painter.device()->devicePixelRatio() : 1.0, canvas);
    const double wheel = Roulette::normalized(frame.wheel);
    const std::optional<QPoint> origin = alignedOrigin(painter, m_ratio);

    painter.save();
    // The turned image leaves the canvas's corners uncovered: the card's colour goes under it
    // (a plain fill of the canvas costs less than working out where the corners are).
    painter.fillRect(QRectF(QPointF(0, 0), canvas), Palette::cream().resolve(dark));
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
    if (!m_word.isNull() && origin) {
        painter.save();
        painter.resetTransform();
        // Whatever the painter still adds on the way to the device (a widget's offset in its
        // window, the device pixel ratio) is undone: a plain copy.
        painter.setTransform(QTransform::fromTranslate(origin->x() + m_wordAt.x(), origin->y() + m_wordAt.y())
                             * painter.deviceTransform().inverted());
        painter.drawImage(QPointF(0, 0), m_word);
        painter.restore();
    } else {
        WheelPainter::paintHubWord(painter, dark);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(m_ballRect.translated(WheelPainter::ballCentre(frame.ball, frame.radius)), m_ball);
    painter.restore();
}

} // namespace zorvik
