// A full wheel frame as the wheel draws it in a spin (WheelLayer) into a 280 x 280 (x dpr)
// ARGB32 premultiplied image, at device pixel ratio 1 and 2, against its floor: the same
// image size filled by drawing one prerendered wheel image turned by the frame's rotation
// (smooth transform, as a cached-bitmap wheel would have to). BM_WheelDirect draws the frame the plain way, building every path and
// laying out every number each frame.
#include "direct_wheel_drawing.h"
#include "wheel_canvas.h"

#include "wheel/wheel_layer.h"
#include "wheel/wheel_painter.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

using zorvik::WheelFrame;
using zorvik::WheelPainter;
using zorvik::bench::wheelCanvas;

constexpr int side = zorvik::bench::wheelSide;

// A frame in mid-spin; the rotation moves on every iteration so nothing repeats exactly.
WheelFrame frameAt(int iteration)
{
    WheelFrame frame;
    frame.wheel = 0.37 * iteration;
    frame.ball = -0.61 * iteration;
    frame.radius = 146;
    return frame;
}

// Paints one full frame per iteration onto a cleared canvas with the given drawing.
template <typename Paint>
void paintFrames(benchmark::State &state, Paint paint)
{
    QImage image = wheelCanvas(int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(painter, QSizeF(side, side), frameAt(i++), false);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_WheelFrame(benchmark::State &state)
{
    zorvik::WheelLayer layer;
    paintFrames(state, [&layer](QPainter &painter, QSizeF canvas, const WheelFrame &frame, bool dark) {
        layer.paint(painter, canvas, frame, dark);
    });
}
BENCHMARK(BM_WheelFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_WheelDirect(benchmark::State &state)
{
    paintFrames(state, zorvik::testing::paintWheelDirectly);
}
BENCHMARK(BM_WheelDirect)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_RotatedBlitFloor(benchmark::State &state)
{
    const int dpr = int(state.range(0));
    QImage prerendered = wheelCanvas(dpr);
    {
        QPainter painter(&prerendered);
        WheelPainter::paint(painter, QSizeF(side, side), WheelFrame{}, false);
    }
    QImage image = wheelCanvas(dpr);
    int i = 0;
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(side / 2.0, side / 2.0);
        painter.rotate(0.37 * (i++) * 180.0 / std::numbers::pi);
        painter.translate(-side / 2.0, -side / 2.0);
        painter.drawImage(QPointF(0, 0), prerendered);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RotatedBlitFloor)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char **argv)
{
    return zorvik::bench::runOffscreen(argc, argv, [](int count, char **arguments) {
        benchmark::Initialize(&count, arguments);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    });
}
