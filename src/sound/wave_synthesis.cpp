#include "sound/rolling_audio.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdint>

// The rolling sound is a train of damped two-tone clicks, fast at first (79/s) and slowing
// to 9/s, with a noise burst per click. Every product is rounded before it is added (the
// project builds with -ffp-contract=off) so the bytes are the same on every machine.

namespace zorvik {

namespace {

constexpr double sampleRate = 24000.0;
constexpr double samplePeriod = 4.1666666666666665e-05; // nearest double to 1/24000
using std::numbers::pi;
constexpr std::uint64_t noiseSeed = 0x5A4F5256494BULL;
constexpr std::uint64_t noiseMultiplier = 0x5851F42D4C957F2DULL;

void putU32(char *out, std::uint32_t v)
{
    out[0] = static_cast<char>(v & 0xFF);
    out[1] = static_cast<char>((v >> 8) & 0xFF);
    out[2] = static_cast<char>((v >> 16) & 0xFF);
    out[3] = static_cast<char>((v >> 24) & 0xFF);
}

void putU16(char *out, std::uint16_t v)
{
    out[0] = static_cast<char>(v & 0xFF);
    out[1] = static_cast<char>((v >> 8) & 0xFF);
}

std::int64_t sampleCount(double duration)
{
    double c = 0.0;
    if (duration > 10.0)
        c = 240000.0;
    else
        c = (std::isnan(duration) ? 0.1 : std::max(duration, 0.1)) * sampleRate;
    return static_cast<std::int64_t>(c); // truncates toward zero
}

} // namespace

QByteArray RollingAudio::wave(double duration)
{
    const std::int64_t n = sampleCount(duration);
    const auto dataBytes = static_cast<std::uint32_t>(2 * n);

    QByteArray bytes(static_cast<qsizetype>(44 + dataBytes), Qt::Uninitialized);
    char *out = bytes.data();
    std::copy_n("RIFF", 4, out);
    putU32(out + 4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, out + 8);
    putU32(out + 16, 16);
    putU16(out + 20, 1);
    putU16(out + 22, 1);
    putU32(out + 24, 24000);
    putU32(out + 28, 48000);
    putU16(out + 32, 2);
    putU16(out + 34, 16);
    std::copy_n("data", 4, out + 36);
    putU32(out + 40, dataBytes);

    std::uint64_t noise = noiseSeed;
    double phase = 0.0;
    double pitch = 1.0;
    double age = 1.0; // long decayed: silent until the first click
    const double last = static_cast<double>(n - 1);

    char *sample = out + 44;
    for (std::int64_t index = 0; index < n; ++index, sample += 2) {
        const double i = static_cast<double>(index);
        const double t = i / sampleRate;
        const double p = i / last;
        const double r = 1.0 - p;
        const double r2 = r * r;

        noise = noise * noiseMultiplier + 1;
        const double q = static_cast<double>(static_cast<std::uint32_t>(noise >> 32)) / 4294967295.0;
        const double u = (q + q) - 1.0;

        const double next = phase + (r2 * 70.0 + 9.0) / sampleRate;
        if (next >= 1.0) {
            pitch = u * 0.07 + 1.0;
            phase = next - 1.0;
            age = samplePeriod;
        } else {
            phase = next;
            age = age + samplePeriod;
        }

        const double fade = std::min(r / 0.12, 1.0) * std::min(t / 0.08, 1.0);
        const double attack = std::min(age / 0.0003, 1.0);
        const double w = (age + age) * pi;
        const double tone = std::sin(pitch * (w * 1850.0)) + std::sin(pitch * (w * 3270.0)) * 0.35;
        const double ring = (std::exp(age / -0.0025) * tone) * 0.28;
        const double hiss = (u * std::exp(age / -0.0005)) * 0.035;
        const double click = attack * (hiss + ring);
        const double level = r2 * 0.32 + 0.16;
        const double v = (level * click) * fade;

        const double x = v < 1.0 ? std::max(v, -1.0) * 32767.0 : 32767.0;
        putU16(sample, static_cast<std::uint16_t>(static_cast<std::int16_t>(x)));
    }
    return bytes;
}

} // namespace zorvik
