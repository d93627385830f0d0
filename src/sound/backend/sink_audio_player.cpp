#include "sound/backend/sink_audio_player.h"

#include "sound/backend/ramped_pcm_device.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>

namespace zorvik {

SinkAudioPlayer::SinkAudioPlayer(const QAudioDevice &device, AudioOutput::Wave wave, QThread &audioThread, int bufferBytes)
    : m_device(device)
    , m_wave(std::move(wave))
    , m_thread(audioThread)
    , m_bufferBytes(bufferBytes)
    , m_pcm(std::make_shared<RampedPcmDevice>())
    , m_state(std::make_shared<std::atomic<SinkStream::State>>(SinkStream::State::idle))
{
}

SinkAudioPlayer::~SinkAudioPlayer()
{
    if (!m_started) {
        delete m_stream;
        return;
    }
    // Still sounding: the stream fades out, plays its buffer and ends by itself.
    stop();
}

void SinkAudioPlayer::setVolume(float volume, double fadeSeconds)
{
    m_volume = RampedPcmDevice::sanitizedGain(volume);
    if (!m_started) {
        m_pcm->setGain(m_volume);
        return;
    }
    m_pcm->rampTo(m_volume, rampSeconds(fadeSeconds));
}

void SinkAudioPlayer::prepareToPlay()
{
    if (m_stream || m_started)
        return;
    m_pcm->setGain(m_volume);
    // A sink that ran dry waits for a full buffer before it plays again: the padding carries
    // the last samples out.
    m_pcm->setTrailingSilence(m_bufferBytes);
    m_pcm->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    m_stream = new SinkStream(m_device, std::move(m_wave), m_pcm, m_bufferBytes, m_state);
    m_stream->moveToThread(&m_thread);
}

void SinkAudioPlayer::play()
{
    if (m_started)
        return;
    prepareToPlay();
    m_started = true;
    // From here on the stream belongs to the audio thread.
    QMetaObject::invokeMethod(m_stream, &SinkStream::start, Qt::QueuedConnection);
    m_stream = nullptr;
}

void SinkAudioPlayer::stop()
{
    if (m_started)
        m_pcm->fadeOutAndFinish(rampSeconds(stopFadeSeconds));
}

double SinkAudioPlayer::rampSeconds(double fadeSeconds) const
{
    // The sound server takes about half of the buffer into its own period at once: the other
    // half is what still lies ahead of its output when a change is made.
    const double ahead = double(m_bufferBytes) / 2 / (RampedPcmDevice::sampleRate * 2);
    return std::max(shortestFadeSeconds, fadeSeconds - ahead);
}

bool SinkAudioPlayer::isPlaying() const
{
    return m_state->load() == SinkStream::State::playing;
}

} // namespace zorvik
