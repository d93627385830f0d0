#include "sound/backend/ramped_pcm.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zorvik {

namespace {

constexpr std::uint64_t finishingBit = std::uint64_t(1) << 63;

quint32 u32At(const QByteArray &b, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + offset);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 u16At(const QByteArray &b, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + offset);
    return quint16(p[0] | p[1] << 8);
}

// Deadlines travel in 31 bits of tenths of a millisecond, which wrap every 59 hours; a difference
// of under 29 hours is read across the wrap.
using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000>>;
constexpr std::int64_t ticksPerSecond = 10000;
constexpr std::uint32_t tickMask = 0x7fffffff;

std::uint32_t ticksOf(RampedPcm::Clock::time_point t)
{
    return std::uint32_t(std::chrono::duration_cast<Ticks>(t.time_since_epoch()).count()) & tickMask;
}

std::int64_t ticksUntil(std::uint32_t deadline, RampedPcm::Clock::time_point t)
{
    const std::uint32_t diff = (deadline - ticksOf(t)) & tickMask;
    return diff & 0x40000000 ? std::int64_t(diff) - (std::int64_t(1) << 31) : std::int64_t(diff);
}

} // namespace

bool RampedPcm::accepts(const QByteArray &wav)
{
    return wav.size() >= headerBytes && wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt "
        && u16At(wav, 20) == 1 && u16At(wav, 22) == 1 && u32At(wav, 24) == quint32(sampleRate)
        && u16At(wav, 34) == 16 && wav.mid(36, 4) == "data";
}

void RampedPcm::setWave(const QByteArray &wav)
{
    m_wav = wav;
    m_frames = std::size_t(std::max<qsizetype>(wav.size() - headerBytes, 0)) / 2;
    m_frame = 0;
    m_history.assign(historyFrames, 1.0f);
}

float RampedPcm::sanitizedGain(float gain)
{
    if (std::isnan(gain))
        return 0.0f;
    return std::clamp(gain, 0.0f, 1.0f);
}

std::uint64_t RampedPcm::pack(float target, Clock::time_point deadline, bool finishing)
{
    return std::uint64_t(std::bit_cast<std::uint32_t>(target)) | std::uint64_t(ticksOf(deadline)) << 32
        | (finishing ? finishingBit : 0);
}

void RampedPcm::setGain(float gain)
{
    const float g = sanitizedGain(gain);
    m_taken = pack(g, Clock::now(), false);
    m_request.store(m_taken, std::memory_order_release);
    m_startGain = m_gain = m_rampFrom = m_rampTarget = g;
    m_rampFrames = m_rampDone = 0;
}

void RampedPcm::rampTo(float target, Clock::duration fade)
{
    // A stop already asked for (from whichever thread) is never undone.
    std::uint64_t old = m_request.load(std::memory_order_acquire);
    const std::uint64_t request = pack(sanitizedGain(target), Clock::now() + fade, false);
    while (!(old & finishingBit) && !m_request.compare_exchange_weak(old, request, std::memory_order_acq_rel))
        ;
}

void RampedPcm::fadeOutAndFinish(Clock::duration fade)
{
    m_request.store(pack(0.0f, Clock::now() + fade, true), std::memory_order_release);
}

void RampedPcm::take(std::uint64_t request, Clock::time_point heardAt)
{
    m_taken = request;
    m_rampTarget = std::bit_cast<float>(std::uint32_t(request));
    m_rampFrom = m_gain;
    m_rampDone = 0;
    // Over by the deadline, counted from when this read is heard.
    const auto left = std::max(ticksUntil(std::uint32_t(request >> 32) & tickMask, heardAt),
                               std::int64_t(std::chrono::duration_cast<Ticks>(shortestRamp).count()));
    m_rampFrames = int(std::min<std::int64_t>(left, 100000) * sampleRate / ticksPerSecond);
}

std::size_t RampedPcm::read(char *data, std::size_t maxBytes, Clock::time_point heardAt)
{
    const std::uint64_t request = m_request.load(std::memory_order_acquire);
    if (request != m_taken)
        take(request, heardAt);
    const bool finishing = request & finishingBit;

    const std::size_t frames = std::min(maxBytes / 2, m_frames - m_frame);
    const auto *in = reinterpret_cast<const unsigned char *>(m_wav.constData() + headerBytes) + m_frame * 2;
    auto *out = reinterpret_cast<unsigned char *>(data);
    std::size_t done = 0;
    for (; done < frames; ++done) {
        if (m_gain != double(m_rampTarget)) {
            ++m_rampDone;
            // Computed from the start of the ramp, not accumulated, so it lands exactly.
            m_gain = m_rampDone >= m_rampFrames
                ? double(m_rampTarget)
                : m_rampFrom + (double(m_rampTarget) - m_rampFrom) * m_rampDone / m_rampFrames;
        } else if (finishing && m_rampTarget == 0.0f) {
            break; // the fade-out is complete: the rest is not played
        }
        m_history[(m_frame + done) % historyFrames] = float(m_gain);
        const auto sample = qint16(quint16(in[2 * done] | in[2 * done + 1] << 8));
        qint16 scaled = sample;
        if (m_gain != 1.0)
            scaled = qint16(std::clamp<long>(std::lround(sample * m_gain), -32768, 32767));
        const auto bits = quint16(scaled);
        out[2 * done] = static_cast<unsigned char>(bits & 0xff);
        out[2 * done + 1] = static_cast<unsigned char>(bits >> 8);
    }
    m_frame += done;
    return done * 2;
}

std::size_t RampedPcm::rewindTo(std::size_t byte)
{
    const std::size_t oldest = m_frame > historyFrames ? m_frame - historyFrames : 0;
    const std::size_t frame = std::clamp(byte / 2, oldest, m_frame);
    if (frame == m_frame)
        return position();
    m_frame = frame;
    // Where the gain stood before that sample; the latest change is taken again from there.
    m_gain = frame == 0 ? m_startGain : double(m_history[(frame - 1) % historyFrames]);
    m_rampFrom = m_gain;
    m_rampTarget = float(m_gain);
    m_rampFrames = m_rampDone = 0;
    m_taken = ~std::uint64_t(0);
    return position();
}

} // namespace zorvik
