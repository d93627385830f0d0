#include "sound/backend/sink_audio_output.h"

#include "sound/backend/sink_audio_player.h"
#include "sound/backend/sink_stream.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace zorvik {

SinkAudioOutput &SinkAudioOutput::shared()
{
    static SinkAudioOutput output;
    return output;
}

SinkAudioOutput::SinkAudioOutput()
{
    m_thread->setObjectName(QStringLiteral("zorvik-audio"));
    // Under load a normal thread can wake tens of milliseconds late, longer than the sink's
    // buffer, and the sound runs dry.
    QObject::connect(m_thread, &QThread::started, m_thread, [] { SinkStream::raiseToRealtime(0); },
                     Qt::DirectConnection);
    m_thread->start();
}

SinkAudioOutput::~SinkAudioOutput()
{
    // At exit QtMultimedia may tear its PulseAudio engine down on this thread and wait there for
    // a client thread that no longer answers: the thread gets half a second to finish, else it
    // is left to the end of the process.
    m_thread->quit();
    if (m_thread->wait(QDeadlineTimer(500)))
        delete m_thread;
}

std::unique_ptr<AudioPlayer> SinkAudioOutput::createPlayer(Wave wave)
{
    // Without a sound server the list of devices is empty and this returns at once.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    return std::make_unique<SinkAudioPlayer>(device, std::move(wave), *m_thread);
}

} // namespace zorvik
