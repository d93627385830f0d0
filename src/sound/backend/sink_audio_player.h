#pragma once

#include "sound/audio_output.h"

#include <QAudioDevice>
#include <QByteArray>
#include <QPointer>

class QAudioSink;

namespace zorvik {

class RampedPcmDevice;

// One sound on one QAudioSink (24 kHz mono 16-bit) in pull mode from a RampedPcmDevice.
// The sink's own volume stays at 1.0 (it steps, and clicks); all gain is applied per sample
// by the device. Stopping or dropping the player fades the sound out first: the sink then
// lives on for the fade plus its buffer and is stopped and deleted later, on its own.
class SinkAudioPlayer final : public AudioPlayer {
public:
    // Length of the fade used by stop() and by dropping a sounding player.
    static constexpr double stopFadeSeconds = 0.04;
    // Bytes the sink keeps queued ahead: 100 ms at 24 kHz mono 16-bit.
    static constexpr int bufferBytes = 4800;

    SinkAudioPlayer(const QAudioDevice &device, const QByteArray &wav);
    ~SinkAudioPlayer() override;

    void setVolume(float volume, double fadeSeconds) override;
    void prepareToPlay() override;
    void play() override;
    void stop() override;

    // True from a successful play() until the sound has ended, was stopped or failed.
    bool isPlaying() const;

private:
    void release();

    QAudioDevice m_device;
    QByteArray m_wav;
    QPointer<QAudioSink> m_sink;
    QPointer<RampedPcmDevice> m_pcm;
    float m_volume = 1.0f;
    bool m_started = false;
};

} // namespace zorvik
