#pragma once

#include "sound/audio_output.h"
#include "sound/backend/sink_stream.h"

#include <QAudioDevice>

#include <atomic>
#include <memory>

class QThread;

namespace zorvik {

class RampedPcmDevice;

// One sound played through a SinkStream on the audio thread. All gain is applied per sample
// by the RampedPcmDevice, whose target may be set from this side at any time; Qt's own sink
// volume stays at 1.0 (it steps, and clicks). A change of volume is heard at its new level
// when its fade time is over: the samples already queued in the sink's buffer play at the
// old level, and the ramp over the new ones takes the rest of the time. Stopping or dropping
// the player fades the sound out first; the stream then plays its buffer out and goes away.
class SinkAudioPlayer final : public AudioPlayer {
public:
    // Length of the fade used by stop() and by dropping a sounding player.
    static constexpr double stopFadeSeconds = 0.04;
    // Bytes the sink keeps queued: 60 ms at 24 kHz mono 16-bit, the smallest that did not run
    // dry here with both cores busy (the audio thread at realtime priority): 10 ms ran dry in
    // every sound, 20 and 40 ms in some. About half of it is still ahead of the output.
    static constexpr int bufferBytes = 2880;
    // The shortest ramp of a volume change, whatever the buffer: a step would click. With 30 ms
    // ahead of the output a change is heard in full 40 ms after it is made.
    static constexpr double shortestFadeSeconds = 0.010;

    // The sound is synthesised by `wave` on the audio thread, where it then starts at once.
    SinkAudioPlayer(const QAudioDevice &device, AudioOutput::Wave wave, QThread &audioThread,
                    int bufferBytes = SinkAudioPlayer::bufferBytes);
    ~SinkAudioPlayer() override;

    void setVolume(float volume, double fadeSeconds) override;
    void prepareToPlay() override;
    void play() override;
    void stop() override;

    // True once the sound is streaming, until it has ended, was stopped or failed.
    bool isPlaying() const;

private:
    // The ramp over the samples not yet queued, so that the fade is over when its time is.
    double rampSeconds(double fadeSeconds) const;

    QAudioDevice m_device;
    AudioOutput::Wave m_wave;
    QThread &m_thread;
    const int m_bufferBytes;
    std::shared_ptr<RampedPcmDevice> m_pcm;
    std::shared_ptr<std::atomic<SinkStream::State>> m_state;
    // Owned here until play() hands it to the audio thread, where it deletes itself.
    SinkStream *m_stream = nullptr;
    float m_volume = 1.0f;
    bool m_started = false;
};

} // namespace zorvik
