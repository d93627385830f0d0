#pragma once

// How far one drawing lies from another of the same size, in premultiplied channels (as they
// land on whatever lies below): the mean absolute difference of the worst channel over the
// whole image, and the worst mean absolute difference of a channel within a 4 x 4 pixel block,
// both in 1/255 steps.

#include <QImage>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zorvik::testing {

struct DrawingDifference {
    double mean = 0;
    double worstBlock = 0;
};

inline DrawingDifference drawingDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const int w = x.width() / 4 * 4, h = x.height() / 4 * 4;
    std::array<long, 4> total{};
    DrawingDifference d;
    for (int top = 0; top < h; top += 4)
        for (int left = 0; left < w; left += 4) {
            std::array<int, 4> block{};
            for (int row = top; row < top + 4; ++row)
                for (int i = left * 4; i < (left + 4) * 4; ++i)
                    block[std::size_t(i % 4)] += std::abs(x.constScanLine(row)[i] - y.constScanLine(row)[i]);
            for (std::size_t c = 0; c < 4; ++c) {
                total[c] += block[c];
                d.worstBlock = std::max(d.worstBlock, block[c] / 16.0);
            }
        }
    d.mean = double(*std::max_element(total.begin(), total.end())) / (double(w) * h);
    return d;
}

} // namespace zorvik::testing
