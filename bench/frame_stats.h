#pragma once

// Frame rate and frame-interval percentiles from the times of successive paints.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace zorvik::bench {

struct FrameStats {
    int frames = 0;
    double fps = 0;       // paints per second over the measured span
    double p50Ms = 0;     // median interval between paints
    double p99Ms = 0;
    double worstMs = 0;
};

// times: paint times in ms, in order; span: the measured wall time in ms.
inline FrameStats frameStats(const std::vector<double> &times, double spanMs)
{
    FrameStats stats;
    stats.frames = int(times.size());
    stats.fps = spanMs > 0 ? 1000.0 * double(times.size()) / spanMs : 0;
    std::vector<double> gaps;
    for (std::size_t i = 1; i < times.size(); ++i)
        gaps.push_back(times[i] - times[i - 1]);
    if (gaps.empty())
        return stats;
    std::sort(gaps.begin(), gaps.end());
    const auto at = [&](double q) {
        const std::size_t index = std::min(gaps.size() - 1, std::size_t(std::ceil(q * double(gaps.size())) - 1));
        return gaps[index];
    };
    stats.p50Ms = at(0.50);
    stats.p99Ms = at(0.99);
    stats.worstMs = gaps.back();
    return stats;
}

inline void printFrameStats(const FrameStats &s, double cpuShare, long vmhwmKb)
{
    std::printf("frames=%d fps=%.2f p50_ms=%.2f p99_ms=%.2f worst_ms=%.2f cpu_share=%.3f vmhwm_kb=%ld\n", s.frames,
                s.fps, s.p50Ms, s.p99Ms, s.worstMs, cpuShare, vmhwmKb);
    std::fflush(stdout);
}

} // namespace zorvik::bench
