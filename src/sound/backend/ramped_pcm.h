#pragma once

#include <QByteArray>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zorvik {

// Serves the 16-bit mono PCM of an in-memory WAV file (everything after its 44-byte header),
// multiplying every sample by a gain. Gain changes ramp linearly, sample by sample, so that a
// change of volume never clicks; at full volume the samples pass unchanged. The target may be
// set from any thread; everything else (setWave, read) belongs to the one thread that reads.
class RampedPcm {
public:
    static constexpr int headerBytes = 44;
    static constexpr int sampleRate = 24000;

    // Whether this is a file we play: a RIFF/WAVE file with the plain 44-byte header of 16-bit
    // mono PCM at 24 kHz.
    static bool accepts(const QByteArray &wav);
    // The file to serve; before the first read.
    void setWave(const QByteArray &wav);

    // Jumps to the gain without a ramp; meant for before the first sample is read.
    void setGain(float gain);
    // Ramps from wherever the gain is now to the target over the given time.
    void rampTo(float target, double seconds);
    // Ramps to silence and then ends the data.
    void fadeOutAndFinish(double seconds);

    // Fills `data` with up to `maxBytes` (whole samples); 0 once the sound has ended.
    std::size_t read(char *data, std::size_t maxBytes);
    bool atEnd() const { return m_offset >= m_end; }

    // Gains outside [0, 1] are clamped; NaN counts as silence.
    static float sanitizedGain(float gain);

private:
    // Target gain, ramp length and "finish at silence" travel in one word, so that the reader
    // never pairs a new target with the ramp length of an older one.
    static std::uint64_t pack(float target, int frames, bool finishing);
    void takeNewTarget(float target, int frames);

    QByteArray m_wav;
    std::size_t m_end = headerBytes; // one past the last whole sample
    std::size_t m_offset = headerBytes;

    std::atomic<std::uint64_t> m_request{pack(1.0f, 0, false)};

    // Reader's side of the ramp.
    double m_gain = 1.0;
    float m_rampTarget = 1.0f;
    double m_rampStart = 1.0;
    int m_rampFrames = 0;
    int m_rampDone = 0;
};

} // namespace zorvik
