// wave(10.0) against its floor: a loop making only the same libm calls (2 sin + 2 exp per
// sample) over the same 240,000 samples.
#include "sound/rolling_audio.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

static void BM_Wave10s(benchmark::State &state)
{
    for (auto _ : state) {
        QByteArray wav = zorvik::RollingAudio::wave(10.0);
        benchmark::DoNotOptimize(wav.data());
    }
}
BENCHMARK(BM_Wave10s)->Unit(benchmark::kMillisecond);

static void BM_LibmFloor(benchmark::State &state)
{
    for (auto _ : state) {
        double acc = 0.0;
        double age = 1.0;
        for (int i = 0; i < 240000; ++i) {
            age = (i % 300 == 0) ? 4.1666666666666665e-05 : age + 4.1666666666666665e-05;
            const double w = (age + age) * std::numbers::pi;
            acc += std::sin(w * 1850.0) + std::sin(w * 3270.0) + std::exp(age / -0.0025) +
                   std::exp(age / -0.0005);
        }
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(BM_LibmFloor)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
