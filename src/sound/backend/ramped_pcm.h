#pragma once

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvik {

// Serves the 16-bit mono PCM of an in-memory WAV file (everything after its 44-byte header),
// multiplying every sample by a gain. Gain changes ramp linearly, sample by sample, so that a
// change of volume never clicks; at full volume the samples pass unchanged.
//
// A change is asked for with the moment it must be heard in full. The reader says when the
// first sample of each read will reach the ear, and the ramp ends on time however much is
// queued ahead of it. Samples already handed out can be served again (rewindTo) under the
// latest change, so that a deep queue is rewritten instead of waited for.
//
// The change may be asked for from any thread; everything else (setWave, read, rewindTo)
// belongs to the one thread that reads.
class RampedPcm {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int headerBytes = 44;
    static constexpr int sampleRate = 24000;
    // The shortest ramp, however late a change is taken: a step would click.
    static constexpr Clock::duration shortestRamp = std::chrono::milliseconds(10);
    // How far back samples can be served again: more than a stream ever queues.
    static constexpr std::size_t historyFrames = sampleRate * 4 / 10;

    // Whether this is a file we play: a RIFF/WAVE file with the plain 44-byte header of 16-bit
    // mono PCM at 24 kHz.
    static bool accepts(const QByteArray &wav);
    // The file to serve; before the first read.
    void setWave(const QByteArray &wav);

    // Jumps to the gain without a ramp; meant for before the first sample is read.
    void setGain(float gain);
    // Ramps from wherever the gain is to the target, heard in full `fade` from now.
    void rampTo(float target, Clock::duration fade);
    // Ramps to silence, heard `fade` from now, and then ends the data. Never undone.
    void fadeOutAndFinish(Clock::duration fade);

    // Fills `data` with up to `maxBytes` (whole samples), the first of which the ear hears at
    // `heardAt`; 0 once the sound has ended.
    std::size_t read(char *data, std::size_t maxBytes, Clock::time_point heardAt);
    // Steps back to `byte` (counted from the first sample) so that what follows is served again
    // under the latest change; as far back as the history reaches. Returns where the next read
    // starts.
    std::size_t rewindTo(std::size_t byte);
    // Bytes served so far.
    std::size_t position() const { return m_frame * 2; }

    // Gains outside [0, 1] are clamped; NaN counts as silence.
    static float sanitizedGain(float gain);

private:
    // Target gain, deadline and "finish at silence" travel in one word, so that the reader
    // never pairs a new target with the deadline of an older one.
    static std::uint64_t pack(float target, Clock::time_point deadline, bool finishing);
    void take(std::uint64_t request, Clock::time_point heardAt);

    QByteArray m_wav;
    std::size_t m_frames = 0; // whole samples in the file
    std::size_t m_frame = 0;  // the next one served

    std::atomic<std::uint64_t> m_request{pack(1.0f, Clock::time_point(), false)};

    // Reader's side: the request being followed, and the ramp it set.
    std::uint64_t m_taken = m_request.load();
    double m_startGain = 1.0;
    double m_gain = 1.0;
    float m_rampTarget = 1.0f;
    double m_rampFrom = 1.0;
    int m_rampFrames = 0;
    int m_rampDone = 0;
    // The gain each recent sample was served at, by its index modulo the length.
    std::vector<float> m_history;
};

} // namespace zorvik
