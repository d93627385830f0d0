#include "wheel/wheel_layer.h"

#include "model/roulette.h"
#include "style/palette.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace zorvik {

namespace {
using WheelGeometry::centre;
using WheelGeometry::hubRadius;
using WheelGeometry::pocketRingInner;
using WheelGeometry::pocketRingOuter;
// The ring's picture reaches this far beyond the pockets: its antialiased edges, and the
// resampling's reach, lie within it.
constexpr double ringMargin = 2;
// Rows of the canvas per band, at device pixel ratio 1. Under 96 rows a turned picture is drawn
// on the painting thread; Qt hands a taller one to its thread pool, and waking the pool costs a
// wheel this size more than it saves.
constexpr int bandRows = 24;
// Device pixels of the ring's picture per device pixel of the canvas. Turning a picture
// resamples it (bilinearly): at the canvas's own resolution that softens every edge by up to a
// pixel, and at 1.5 times it stays as close to the shapes drawn in place as the eye can tell.
// More costs memory and time per frame for no difference one can see.
constexpr double oversampling = 1.5;

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

// Rectangles of whole device pixels, `scale` of them to a design unit, that cover the ring
// between the radii and as little else as a few dozen bands allow: each band of rows spans the
// outer circle where it is widest in the band, and leaves out the inner one where it is narrowest.
std::vector<QRect> ringBands(QSize device, QSizeF scale, int rowsPerBand)
{
    const double outer = pocketRingOuter + ringMargin;
    const double inner = pocketRingInner - ringMargin;
    const double c = centre;
    const auto column = [&](double x) { return std::clamp(x * scale.width(), 0.0, double(device.width())); };
    std::vector<QRect> bands;
    for (int top = 0; top < device.height(); top += rowsPerBand) {
        const int bottom = std::min(top + rowsPerBand, device.height());
        const double from = top / scale.height() - c;
        const double to = bottom / scale.height() - c;
        const double nearest = from <= 0 && to >= 0 ? 0.0 : std::min(std::abs(from), std::abs(to));
        const double farthest = std::max(std::abs(from), std::abs(to));
        if (nearest >= outer)
            continue;
        const double reach = std::sqrt(outer * outer - nearest * nearest);
        const int left = int(std::floor(column(c - reach)));
        const int right = int(std::ceil(column(c + reach)));
        if (farthest < inner) {
            const double hole = std::sqrt(inner * inner - farthest * farthest);
            const int holeLeft = int(std::ceil(column(c - hole)));
            const int holeRight = int(std::floor(column(c + hole)));
            if (holeLeft < holeRight) {
                bands.emplace_back(QPoint(left, top), QPoint(holeLeft - 1, bottom - 1));
                bands.emplace_back(QPoint(holeRight, top), QPoint(right - 1, bottom - 1));
                continue;
            }
        }
        bands.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }
    return bands;
}
} // namespace

void WheelLayer::release()
{
    m_still = QImage();
    m_ring = QImage();
    m_ball = QImage();
    m_word = QImage();
}

qsizetype WheelLayer::bytes() const
{
    return m_still.sizeInBytes() + m_ring.sizeInBytes() + m_ball.sizeInBytes() + m_word.sizeInBytes();
}

QSizeF WheelLayer::pixelsPerUnit() const
{
    return QSizeF(m_canvas.width(), m_canvas.height()) / WheelGeometry::side * m_ratio;
}

void WheelLayer::turnToRing(QPainter &painter, double wheel) const
{
    const QSizeF ring = pixelsPerUnit() * oversampling;
    painter.translate(centre, centre);
    painter.rotate(wheel * 180.0 / std::numbers::pi);
    painter.translate(-centre, -centre);
    painter.translate(m_ringSquare.topLeft());
    painter.scale(1 / ring.width(), 1 / ring.height());
}

void WheelLayer::prepare(bool dark, qreal ratio, QSizeF canvas)
{
    if (!m_still.isNull() && m_dark == dark && m_ratio == ratio && m_canvas == canvas)
        return;
    m_dark = dark;
    m_ratio = ratio;
    m_canvas = canvas;
    const QColor cream = Palette::cream().resolve(dark);
    const double px = pixelsPerUnit().width();
    const double py = pixelsPerUnit().height();

    // Opaque, with the card's colour all round the wheel: copying or turning them needs no
    // blending.
    m_still = QImage(int(std::ceil(canvas.width() * ratio)), int(std::ceil(canvas.height() * ratio)),
                     QImage::Format_RGB32);
    m_still.fill(cream);
    QPainter painter(&m_still);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(px, py);
    WheelPainter::paintRoundParts(painter, dark);
    painter.end();

    m_ringSquare = WheelPainter::circle(pocketRingOuter + 2 * ringMargin);
    m_ring = QImage(int(std::ceil(m_ringSquare.width() * px * oversampling)), int(std::ceil(m_ringSquare.height() * py * oversampling)),
                    QImage::Format_RGB32);
    m_ring.fill(cream);
    painter.begin(&m_ring);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(px * oversampling, py * oversampling);
    painter.translate(-m_ringSquare.topLeft());
    WheelPainter::paintTurningParts(painter, dark);
    painter.end();
    m_ringBands = ringBands(m_still.size(), QSizeF(px, py), std::max(1, int(std::lround(bandRows * ratio))));

    m_ball = QImage(int(std::ceil(ballImageRect.width() * px * oversampling)), int(std::ceil(ballImageRect.height() * py * oversampling)),
                    QImage::Format_ARGB32_Premultiplied);
    m_ball.fill(Qt::transparent);
    painter.begin(&m_ball);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(px * oversampling, py * oversampling);
    WheelPainter::paintBall(painter, -ballImageRect.topLeft());
    painter.end();
    m_ballRect = QRectF(ballImageRect.topLeft(), QSizeF(m_ball.width() / (px * oversampling), m_ball.height() / (py * oversampling)));

    const QRectF word = WheelPainter::hubWordBounds();
    // On the hub's plain face, inside its faint ring.
    const auto onFace = [&](QPointF corner) { return QLineF(QPointF(centre, centre), corner).length() < hubRadius; };
    const QRect pixels = QRectF(word.x() * px, word.y() * py, word.width() * px, word.height() * py)
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1);
    m_word = QImage();
    if (onFace(word.topLeft()) && onFace(word.topRight()) && onFace(word.bottomLeft()) && onFace(word.bottomRight())) {
        m_word = QImage(pixels.size(), QImage::Format_RGB32);
        m_word.fill(cream);
        painter.begin(&m_word);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.translate(-QPointF(pixels.topLeft()));
        painter.scale(px, py);
        WheelPainter::paintHubWord(painter, dark);
        painter.end();
        m_wordAt = pixels.topLeft();
    }
}

// The ring's picture, turned by the wheel and brought down to device pixels, drawn through
// each band in turn. The painter's world is in device pixels from the canvas's origin.
void WheelLayer::paintRing(QPainter &painter, double wheel) const
{
    const QTransform pixels = painter.worldTransform();
    painter.scale(pixelsPerUnit().width(), pixelsPerUnit().height());
    turnToRing(painter, wheel);
    const QTransform turned = painter.worldTransform();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const QRect &band : m_ringBands) {
        painter.setWorldTransform(pixels);
        painter.setClipRect(band);
        painter.setWorldTransform(turned);
        painter.drawImage(QPointF(0, 0), m_ring);
    }
    painter.setClipping(false);
    painter.setWorldTransform(pixels);
}

void WheelLayer::paint(QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark)
{
    prepare(dark, painter.device() ? painter.device()->devicePixelRatio() : 1.0, canvas);
    const double wheel = Roulette::normalized(frame.wheel);
    const std::optional<QPoint> origin = alignedOrigin(painter, m_ratio);

    painter.save();
    if (origin) {
        // Whatever the painter adds on the way to the device (a widget's offset in its window,
        // the device pixel ratio) is undone: the world is in device pixels, and a picture at the
        // origin is a plain copy.
        painter.resetTransform();
        painter.setWorldTransform(QTransform::fromTranslate(origin->x(), origin->y()) * painter.deviceTransform().inverted());
        painter.drawImage(QPointF(0, 0), m_still);
        paintRing(painter, wheel);
        if (!m_word.isNull())
            painter.drawImage(QPointF(m_wordAt), m_word);
        painter.scale(pixelsPerUnit().width(), pixelsPerUnit().height());
    } else {
        // Off whole device pixels a copy of the still picture would be resampled and soften
        // every circle: they are drawn in place, and the ring through a circle round it.
        painter.fillRect(QRectF(QPointF(0, 0), canvas), Palette::cream().resolve(dark));
        painter.scale(canvas.width() / WheelGeometry::side, canvas.height() / WheelGeometry::side);
        painter.setRenderHint(QPainter::Antialiasing, true);
        WheelPainter::paintRoundParts(painter, dark);
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        QPainterPath round;
        round.addEllipse(WheelPainter::circle(pocketRingOuter + ringMargin));
        painter.setClipPath(round, Qt::IntersectClip);
        turnToRing(painter, wheel);
        painter.drawImage(QPointF(0, 0), m_ring);
        painter.restore();
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        WheelPainter::paintHubWord(painter, dark);
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    if (frame.result)
        WheelPainter::paintOutline(painter, wheel, *frame.result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(m_ballRect.translated(WheelPainter::ballCentre(frame.ball, frame.radius)), m_ball);
    painter.restore();
}

} // namespace zorvik
