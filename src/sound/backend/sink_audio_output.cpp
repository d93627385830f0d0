#include "sound/backend/sink_audio_output.h"

#include "sound/backend/sink_audio_player.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include <pthread.h>
#include <sched.h>

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
    // buffer, and the sound runs dry. Where the system allows it (a realtime limit, or root)
    // the audio thread takes the lowest realtime priority, below the sound server's own;
    // elsewhere it stays as it is.
    QObject::connect(m_thread, &QThread::started, m_thread, [] {
        sched_param param{};
        param.sched_priority = sched_get_priority_min(SCHED_RR);
        pthread_setschedparam(pthread_self(), SCHED_RR | SCHED_RESET_ON_FORK, &param);
    }, Qt::DirectConnection);
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
