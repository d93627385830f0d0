#pragma once

#include <QByteArray>
#include <QIODevice>

#include <atomic>

namespace zorvik {

// Serves the 16-bit mono PCM of an in-memory WAV file (everything after its 44-byte header)
// to an audio sink that pulls from it, multiplying every sample by a gain. Gain changes ramp
// linearly, sample by sample, so that a change of volume never clicks. The target gain may be
// set from any thread; the reader's side (readData) is the sink's.
class RampedPcmDevice final : public QIODevice {
    Q_OBJECT

public:
    static constexpr int headerBytes = 44;
    static constexpr int sampleRate = 24000;

    explicit RampedPcmDevice(const QByteArray &wav = {}, QObject *parent = nullptr);

    // Whether this is a file we play: a RIFF/WAVE file with the plain 44-byte header of 16-bit
    // mono PCM at 24 kHz.
    static bool accepts(const QByteArray &wav);
    // The file to serve, when it was not known at construction; before the first read.
    void setWave(const QByteArray &wav);

    // Jumps to the gain without a ramp; meant for before the first sample is read.
    void setGain(float gain);
    // Ramps from wherever the gain is now to the target over the given time.
    void rampTo(float target, double seconds);
    // Ramps to silence and then ends the data, so that the sink drains and goes idle.
    void fadeOutAndFinish(double seconds);
    // Zero bytes served after the sound (or after a fade-out) before the data ends. A sink
    // that ran dry waits for a full buffer before it plays again; without this padding the
    // last bit of a sound could stay in that buffer unplayed.
    void setTrailingSilence(qint64 bytes);

    float target() const { return m_target.load(std::memory_order_acquire); }
    // The gain applied to the last sample served.
    double currentGain() const { return m_gain; }
    // Bytes of PCM already served.
    qint64 served() const { return m_offset - headerBytes; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 size() const override { return bytesAvailable(); }
    bool atEnd() const override;

    // Gains outside [0, 1] are clamped; NaN counts as silence.
    static float sanitizedGain(float gain);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    void takeNewTarget(float target);
    qint64 readSilence(char *data, qint64 maxSize);

    QByteArray m_wav;
    qint64 m_end;   // one past the last whole sample
    qint64 m_offset = headerBytes;
    qint64 m_silenceLeft = 0;

    std::atomic<float> m_target{1.0f};
    std::atomic<int> m_fadeFrames{0};
    std::atomic<bool> m_finishing{false};

    // Reader's side of the ramp.
    double m_gain = 1.0;
    float m_rampTarget = 1.0f;
    double m_rampStart = 1.0;
    int m_rampFrames = 0;
    int m_rampDone = 0;
};

} // namespace zorvik
