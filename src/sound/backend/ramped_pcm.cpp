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

int framesFor(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    // Ten seconds is far longer than any fade we ask for; it keeps the count in range.
    return int(std::lround(std::min(seconds, 10.0) * RampedPcm::sampleRate));
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
    const std::size_t size = std::max<std::size_t>(std::size_t(wav.size()), headerBytes);
    m_end = headerBytes + ((size - headerBytes) & ~std::size_t(1));
    m_offset = headerBytes;
}

float RampedPcm::sanitizedGain(float gain)
{
    if (std::isnan(gain))
        return 0.0f;
    return std::clamp(gain, 0.0f, 1.0f);
}

std::uint64_t RampedPcm::pack(float target, int frames, bool finishing)
{
    return std::uint64_t(std::bit_cast<std::uint32_t>(target)) | std::uint64_t(std::uint32_t(frames)) << 32
        | (finishing ? finishingBit : 0);
}

void RampedPcm::setGain(float gain)
{
    const float g = sanitizedGain(gain);
    m_request.store(pack(g, 0, false), std::memory_order_release);
    m_gain = m_rampStart = m_rampTarget = g;
    m_rampFrames = m_rampDone = 0;
}

void RampedPcm::rampTo(float target, double seconds)
{
    // A stop already asked for (from whichever thread) is never undone.
    std::uint64_t old = m_request.load(std::memory_order_acquire);
    while (!(old & finishingBit)
           && !m_request.compare_exchange_weak(old, pack(sanitizedGain(target), framesFor(seconds), false),
                                               std::memory_order_acq_rel))
        ;
}

void RampedPcm::fadeOutAndFinish(double seconds)
{
    m_request.store(pack(0.0f, framesFor(seconds), true), std::memory_order_release);
}

void RampedPcm::takeNewTarget(float target, int frames)
{
    m_rampTarget = target;
    m_rampStart = m_gain;
    m_rampFrames = frames;
    m_rampDone = 0;
    if (m_rampFrames <= 0)
        m_gain = target;
}

std::size_t RampedPcm::read(char *data, std::size_t maxBytes)
{
    const std::uint64_t request = m_request.load(std::memory_order_acquire);
    const float target = std::bit_cast<float>(std::uint32_t(request));
    if (target != m_rampTarget)
        takeNewTarget(target, int((request & ~finishingBit) >> 32));

    const bool finishing = request & finishingBit;
    if (finishing && m_gain == 0.0 && m_rampTarget == 0.0f)
        m_offset = m_end;

    const std::size_t bytes = std::min(maxBytes, m_end - m_offset) & ~std::size_t(1);
    const auto *in = reinterpret_cast<const unsigned char *>(m_wav.constData() + m_offset);
    auto *out = reinterpret_cast<unsigned char *>(data);
    std::size_t written = 0;
    for (; written < bytes; written += 2) {
        if (m_gain != double(m_rampTarget)) {
            ++m_rampDone;
            // Computed from the start of the ramp, not accumulated, so it lands exactly.
            m_gain = m_rampDone >= m_rampFrames
                ? double(m_rampTarget)
                : m_rampStart + (double(m_rampTarget) - m_rampStart) * m_rampDone / m_rampFrames;
        } else if (finishing && m_rampTarget == 0.0f) {
            // The fade-out is complete: the rest is not played.
            break;
        }
        const auto sample = qint16(quint16(in[written] | in[written + 1] << 8));
        qint16 scaled = sample;
        if (m_gain != 1.0) {
            const long v = std::lround(sample * m_gain);
            scaled = qint16(std::clamp<long>(v, -32768, 32767));
        }
        const auto bits = quint16(scaled);
        out[written] = static_cast<unsigned char>(bits & 0xff);
        out[written + 1] = static_cast<unsigned char>(bits >> 8);
    }
    m_offset = written < bytes ? m_end : m_offset + written;
    return written;
}

} // namespace zorvik
