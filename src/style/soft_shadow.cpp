#include "style/soft_shadow.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorvik {

namespace {

// Blurs the alpha channel of a premultiplied black image with a Gaussian kernel.
void gaussianBlur(QImage &image, qreal sigma)
{
    const int radius = int(std::ceil(sigma * 3));
    std::vector<double> kernel(std::size_t(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[std::size_t(i + radius)] = std::exp(-(i * i) / (2 * sigma * sigma));
    for (double &k : kernel)
        k /= sum;

    const int w = image.width();
    const int h = image.height();
    std::vector<double> alpha(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[std::size_t(y * w + x)] = qAlpha(row[x]);
    }
    std::vector<double> pass(alpha.size());
    const auto convolve = [&](const std::vector<double> &from, std::vector<double> &to, bool across) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double v = 0;
                for (int i = -radius; i <= radius; ++i) {
                    const int sx = across ? x + i : x;
                    const int sy = across ? y : y + i;
                    if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                        v += kernel[std::size_t(i + radius)] * from[std::size_t(sy * w + sx)];
                }
                to[std::size_t(y * w + x)] = v;
            }
    };
    convolve(alpha, pass, true);
    convolve(pass, alpha, false);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = std::clamp(int(std::lround(alpha[std::size_t(y * w + x)])), 0, 255);
            row[x] = qRgba(0, 0, 0, a);
        }
    }
}

} // namespace

SoftShadow::SoftShadow(qreal cornerRadius, qreal blurRadius, QPointF offset, qreal opacity)
    : m_radius(cornerRadius), m_blur(blurRadius), m_offset(offset), m_opacity(opacity)
{
}

QMargins SoftShadow::margins() const
{
    // Three standard deviations hold all but a trace of the blur.
    const int reach = int(std::ceil(m_blur / 2 * 3));
    const int dx = int(std::lround(m_offset.x()));
    const int dy = int(std::lround(m_offset.y()));
    return {std::max(0, reach - dx), std::max(0, reach - dy), std::max(0, reach + dx), std::max(0, reach + dy)};
}

const QImage &SoftShadow::tile(qreal ratio)
{
    if (!m_tile.isNull() && qFuzzyCompare(m_tile.devicePixelRatio(), ratio))
        return m_tile;
    // A rounded rectangle whose straight edges are long enough that the middle row and column
    // of the blurred tile lie beyond the reach of either corner, with room for the blur.
    const int reach = int(std::ceil(m_blur / 2 * 3 * ratio));
    const int corner = int(std::ceil(m_radius * ratio)) + reach;
    const int inner = 2 * corner + 1;
    m_tile = QImage(inner + 2 * reach, inner + 2 * reach, QImage::Format_ARGB32_Premultiplied);
    m_tile.fill(Qt::transparent);
    {
        QPainter p(&m_tile);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(reach, reach, inner, inner), m_radius * ratio, m_radius * ratio);
    }
    gaussianBlur(m_tile, m_blur / 2 * ratio);
    m_tile.setDevicePixelRatio(ratio);
    return m_tile;
}

void SoftShadow::paint(QPainter &painter, const QRectF &shape, qreal ratio)
{
    const QImage &image = tile(ratio);
    const qreal reach = std::ceil(m_blur / 2 * 3 * ratio) / ratio;
    const qreal corner = std::ceil(m_radius * ratio) / ratio + reach;
    const QRectF area = shape.translated(m_offset).adjusted(-reach, -reach, reach, reach);
    // Slices in the tile (device pixels) and on the painter: the corners as they are, the
    // one-pixel middle row and column stretched along the edges.
    const int c = int(std::lround((corner + reach) * ratio));
    const int full = image.width();
    const qreal edge = corner + reach;
    const qreal xs[] = {area.left(), area.left() + edge, area.right() - edge, area.right()};
    const qreal ys[] = {area.top(), area.top() + edge, area.bottom() - edge, area.bottom()};
    const int sx[] = {0, c, c + 1, full};
    if (xs[2] < xs[1] || ys[2] < ys[1])
        return; // smaller than two corners: never the case for the shapes drawn here
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setOpacity(painter.opacity() * m_opacity);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1)
                continue; // under the shape itself, which covers it
            const QRectF target(QPointF(xs[col], ys[row]), QPointF(xs[col + 1], ys[row + 1]));
            const QRect source(QPoint(sx[col], sx[row]), QPoint(sx[col + 1] - 1, sx[row + 1] - 1));
            if (!target.isEmpty())
                painter.drawImage(target, image, source);
        }
    painter.restore();
}

} // namespace zorvik
