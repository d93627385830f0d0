#include "sound/backend/sink_audio_player.h"

#include "sound/backend/ramped_pcm_device.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QTimer>

#include <chrono>

namespace zorvik {

namespace {

QAudioFormat pcmFormat()
{
    QAudioFormat format;
    format.setSampleRate(RampedPcmDevice::sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// How long the sink has to live on after its last sample was handed over: the queued buffer
// plus a margin, or the tail is cut off when the stream is disconnected.
std::chrono::milliseconds drainTime(const QAudioSink *sink)
{
    const qsizetype bytes = std::max<qsizetype>(sink->bufferSize(), SinkAudioPlayer::bufferBytes);
    return std::chrono::milliseconds(bytes * 1000 / (RampedPcmDevice::sampleRate * 2) + 50);
}

} // namespace

SinkAudioPlayer::SinkAudioPlayer(const QAudioDevice &device, const QByteArray &wav)
    : m_device(device), m_wav(wav)
{
}

SinkAudioPlayer::~SinkAudioPlayer()
{
    release();
}

void SinkAudioPlayer::setVolume(float volume, double fadeSeconds)
{
    m_volume = RampedPcmDevice::sanitizedGain(volume);
    if (!m_pcm)
        return;
    if (m_started)
        m_pcm->rampTo(m_volume, fadeSeconds);
    else
        m_pcm->setGain(m_volume);
}

void SinkAudioPlayer::prepareToPlay()
{
    if (m_sink || m_started)
        return;
    m_sink = new QAudioSink(m_device, pcmFormat());
    m_sink->setBufferSize(bufferBytes);
    m_pcm = new RampedPcmDevice(m_wav, m_sink);
    m_pcm->setGain(m_volume);
    m_pcm->setTrailingSilence(bufferBytes);
    m_pcm->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SinkAudioPlayer::play()
{
    if (m_started)
        return;
    prepareToPlay();
    m_started = true;

    QAudioSink *sink = m_sink;
    RampedPcmDevice *pcm = m_pcm;
    sink->start(pcm);
    if (sink->error() != QAudio::NoError) {
        // The sound server is gone or refused the stream: this sound stays silent.
        m_sink = nullptr;
        m_pcm = nullptr;
        sink->stop();
        sink->deleteLater();
        return;
    }

    // Underruns also report Idle; only the one after the last sample ends the sound. The
    // state can be reported from the sound server's thread, hence the sink as context.
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink, pcm](QAudio::State state) {
        if (state == QAudio::IdleState && pcm->atEnd()) {
            QTimer::singleShot(drainTime(sink), sink, [sink, pcm] {
                if (sink->state() == QAudio::IdleState && pcm->atEnd())
                    sink->stop();
            });
        }
    });
}

void SinkAudioPlayer::stop()
{
    if (!m_sink || !m_started)
        return;
    const QAudio::State state = m_sink->state();
    if (state != QAudio::ActiveState && state != QAudio::IdleState)
        return;
    QAudioSink *sink = m_sink;
    m_pcm->fadeOutAndFinish(stopFadeSeconds);
    const auto wait = std::chrono::milliseconds(int(stopFadeSeconds * 1000)) + drainTime(sink);
    QTimer::singleShot(wait, sink, [sink] { sink->stop(); });
}

bool SinkAudioPlayer::isPlaying() const
{
    if (!m_sink || !m_started || !m_pcm)
        return false;
    const QAudio::State state = m_sink->state();
    return (state == QAudio::ActiveState || state == QAudio::IdleState) && !m_pcm->atEnd();
}

void SinkAudioPlayer::release()
{
    QAudioSink *sink = m_sink;
    RampedPcmDevice *pcm = m_pcm;
    m_sink = nullptr;
    m_pcm = nullptr;
    if (!sink)
        return;
    const QAudio::State state = sink->state();
    if (state != QAudio::ActiveState && state != QAudio::IdleState) {
        sink->stop();
        sink->deleteLater();
        return;
    }
    // Still sounding: fade out, let the buffer play, then stop and delete. The sink's
    // destructor runs the event loop, so it is never deleted from inside our caller.
    if (pcm)
        pcm->fadeOutAndFinish(stopFadeSeconds);
    const auto wait = std::chrono::milliseconds(int(stopFadeSeconds * 1000)) + drainTime(sink);
    QTimer::singleShot(wait, sink, [sink] {
        sink->stop();
        sink->deleteLater();
    });
}

} // namespace zorvik
