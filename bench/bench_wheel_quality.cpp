// The wheel as drawn in a spin (WheelLayer) against the plain drawing, shape by shape, of the
// same frame (WheelPainter::paint): 64 random rotations and ball places, each in the light and
// the dark appearance, at device pixel ratio 1 and 2. Prints per ratio, in 1/255 steps, the
// mean absolute difference of the worst channel averaged over the frames and in the worst
// frame, the worst 4 x 4 block of any frame, and the memory of the layer's pictures:
//   dpr=1 mean=0.80 worst_frame_mean=0.92 worst_block=15.9 layer_kb=823
#include "support/drawing_difference.h"
#include "wheel_canvas.h"

#include "wheel/wheel_layer.h"
#include "wheel/wheel_painter.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

template <typename Paint>
QImage render(int dpr, Paint paint)
{
    QImage image = zorvik::bench::wheelCanvas(dpr);
    QPainter painter(&image);
    paint(painter, QSizeF(zorvik::bench::wheelSide, zorvik::bench::wheelSide));
    painter.end();
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    return zorvik::bench::runOffscreen(argc, argv, [](int, char **) {
        for (const int dpr : {1, 2}) {
            QRandomGenerator random(15);
            zorvik::WheelLayer layer;
            double sum = 0, worstMean = 0, worstBlock = 0;
            int frames = 0;
            for (int i = 0; i < 64; ++i) {
                const zorvik::WheelFrame frame{random.bounded(zorvik::Roulette::tau), random.bounded(zorvik::Roulette::tau), 129 + random.bounded(17.0),
                                               std::nullopt};
                for (const bool dark : {false, true}) {
                    const auto d = zorvik::testing::drawingDifference(
                        render(dpr, [&](QPainter &p, QSizeF canvas) { layer.paint(p, canvas, frame, dark); }),
                        render(dpr, [&](QPainter &p, QSizeF canvas) {
                            zorvik::WheelPainter::paint(p, canvas, frame, dark);
                        }));
                    sum += d.mean;
                    ++frames;
                    worstMean = std::max(worstMean, d.mean);
                    worstBlock = std::max(worstBlock, d.worstBlock);
                }
            }
            std::printf("dpr=%d mean=%.3f worst_frame_mean=%.3f worst_block=%.2f layer_kb=%.0f\n", dpr, sum / frames,
                        worstMean, worstBlock, double(layer.bytes()) / 1024);
        }
        return 0;
    });
}
