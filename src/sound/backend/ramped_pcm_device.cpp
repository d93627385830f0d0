#include "sound/backend/ramped_pcm_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zorvik {

namespace {

qint64 endOfWholeSamples(const QByteArray &wav)
{
    const qint64 pcm = std::max<qint64>(0, wav.size() - RampedPcmDevice::headerBytes);
    return RampedPcmDevice::headerBytes + (pcm & ~qint64(1));
}

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
    return int(std::lround(std::min(seconds, 10.0) * RampedPcmDevice::sampleRate));
}

} // namespace

RampedPcmDevice::RampedPcmDevice(const QByteArray &wav, QObject *parent)
    : QIODevice(parent), m_wav(wav), m_end(endOfWholeSamples(wav))
{
}

bool RampedPcmDevice::accepts(const QByteArray &wav)
{
    return wav.size() >= headerBytes && wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt "
        && u16At(wav, 20) == 1 && u16At(wav, 22) == 1 && u32At(wav, 24) == quint32(sampleRate)
        && u16At(wav, 34) == 16 && wav.mid(36, 4) == "data";
}

void RampedPcmDevice::setWave(const QByteArray &wav)
{
    m_wav = wav;
    m_end = endOfWholeSamples(wav);
    m_offset = headerBytes;
}

float RampedPcmDevice::sanitizedGain(float gain)
{
    if (std::isnan(gain))
        return 0.0f;
    return std::clamp(gain, 0.0f, 1.0f);
}

void RampedPcmDevice::setGain(float gain)
{
    const float g = sanitizedGain(gain);
    m_fadeFrames.store(0, std::memory_order_relaxed);
    m_target.store(g, std::memory_order_release);
    m_gain = g;
    m_rampTarget = g;
    m_rampStart = g;
    m_rampFrames = 0;
    m_rampDone = 0;
}

void RampedPcmDevice::rampTo(float target, double seconds)
{
    m_fadeFrames.store(framesFor(seconds), std::memory_order_relaxed);
    m_target.store(sanitizedGain(target), std::memory_order_release);
}

void RampedPcmDevice::fadeOutAndFinish(double seconds)
{
    m_finishing.store(true, std::memory_order_release);
    rampTo(0.0f, seconds);
}

void RampedPcmDevice::setTrailingSilence(qint64 bytes)
{
    m_silenceLeft = std::max<qint64>(0, bytes) & ~qint64(1);
}

qint64 RampedPcmDevice::bytesAvailable() const
{
    return std::max<qint64>(0, m_end - m_offset) + m_silenceLeft + QIODevice::bytesAvailable();
}

bool RampedPcmDevice::atEnd() const
{
    return m_offset >= m_end && m_silenceLeft == 0;
}

qint64 RampedPcmDevice::readSilence(char *data, qint64 maxSize)
{
    const qint64 bytes = std::min(maxSize, m_silenceLeft) & ~qint64(1);
    if (bytes <= 0)
        return 0;
    std::memset(data, 0, size_t(bytes));
    m_silenceLeft -= bytes;
    return bytes;
}

void RampedPcmDevice::takeNewTarget(float target)
{
    m_rampTarget = target;
    m_rampStart = m_gain;
    m_rampFrames = m_fadeFrames.load(std::memory_order_relaxed);
    m_rampDone = 0;
    if (m_rampFrames <= 0)
        m_gain = target;
}

qint64 RampedPcmDevice::readData(char *data, qint64 maxSize)
{
    const float target = m_target.load(std::memory_order_acquire);
    if (target != m_rampTarget)
        takeNewTarget(target);

    const bool finishing = m_finishing.load(std::memory_order_acquire);
    if (finishing && m_gain == 0.0 && m_rampTarget == 0.0f)
        m_offset = m_end;

    const qint64 bytes = std::min(maxSize, m_end - m_offset) & ~qint64(1);
    if (bytes <= 0)
        return m_offset >= m_end ? readSilence(data, maxSize) : 0;

    const auto *in = reinterpret_cast<const unsigned char *>(m_wav.constData() + m_offset);
    auto *out = reinterpret_cast<unsigned char *>(data);
    qint64 written = 0;
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

qint64 RampedPcmDevice::writeData(const char *, qint64)
{
    return -1;
}

} // namespace zorvik
