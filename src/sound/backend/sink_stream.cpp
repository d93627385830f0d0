#include "sound/backend/sink_stream.h"

#include "sound/backend/ramped_pcm_device.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>

#include <sched.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace zorvik {

namespace {

using namespace std::chrono_literals;

// How often the buffer is topped up: a small fraction of the buffer, so that a late wake-up
// of the audio thread still finds enough queued.
constexpr auto feedInterval = 4ms;

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}
#endif

// Code that ran before on this thread (inside the sound server's client library) may leave the
// upper halves of the AVX registers in use; after that every plain SSE instruction pays for the
// transition, and the synthesis of a 5 s sound took 90 ms instead of 5. Clearing them is free.
void cleanVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        zeroUpperHalves();
#endif
}

// Every write reaches the sound server through a thread of its client library ("threaded-ml",
// started by Qt's PulseAudio backend). Under load it waits as long as any other thread, and the
// sound runs dry however punctual the audio thread is: when the audio thread runs at realtime
// priority, that thread gets the same. A new connection to the server brings a new thread, so
// this is done for every sound.
void raiseClientThread()
{
#ifdef Q_OS_LINUX
    if (sched_getscheduler(0) != SCHED_RR)
        return; // not allowed here
    const QDir tasks(QStringLiteral("/proc/self/task"));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &id : ids) {
        QFile name(tasks.filePath(id) + QStringLiteral("/comm"));
        if (!name.open(QIODevice::ReadOnly) || name.readAll().trimmed() != "threaded-ml")
            continue;
        SinkStream::raiseToRealtime(id.toInt());
    }
#endif
}

QAudioFormat pcmFormat()
{
    QAudioFormat format;
    format.setSampleRate(RampedPcmDevice::sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

SinkStream::SinkStream(const QAudioDevice &device, std::function<QByteArray()> wave,
                       std::shared_ptr<RampedPcmDevice> pcm, int bufferBytes, std::shared_ptr<std::atomic<State>> state)
    : m_device(device)
    , m_wave(std::move(wave))
    , m_pcm(std::move(pcm))
    , m_bufferBytes(bufferBytes)
    , m_state(std::move(state))
    , m_feed(this)
{
    m_feed.setTimerType(Qt::PreciseTimer);
    m_feed.setInterval(feedInterval);
    connect(&m_feed, &QTimer::timeout, this, &SinkStream::feed);
}

SinkStream::~SinkStream()
{
    m_state->store(State::ended);
}

void SinkStream::raiseToRealtime(int thread)
{
#ifdef Q_OS_LINUX
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR);
    sched_setscheduler(pid_t(thread), SCHED_RR | SCHED_RESET_ON_FORK, &param);
#else
    Q_UNUSED(thread);
#endif
}

void SinkStream::start()
{
    cleanVectorState();
    QByteArray wav;
    try {
        wav = m_wave();
    } catch (...) {
        // Out of memory for it: no sound.
    }
    m_wave = nullptr;
    if (!RampedPcmDevice::accepts(wav)) {
        deleteLater();
        return;
    }
    m_pcm->setWave(wav);
    m_sink = new QAudioSink(m_device, pcmFormat(), this);
    m_sink->setBufferSize(m_bufferBytes);
    m_out = m_sink->start();
    if (!m_out || m_sink->error() != QAudio::NoError) {
        // The sound server is gone or refused the stream: this sound stays silent.
        m_sink->stop();
        deleteLater();
        return;
    }
    raiseClientThread();
    m_chunk.resize(std::max<qsizetype>(m_sink->bufferSize(), m_bufferBytes));
    m_state->store(State::playing);
    feed();
    m_feed.start();
}

void SinkStream::feed()
{
    const QAudio::State state = m_sink->state();
    if (state == QAudio::StoppedState || m_sink->error() == QAudio::FatalError
        || m_sink->error() == QAudio::IOError) {
        // The server went away mid-sound.
        m_feed.stop();
        deleteLater();
        return;
    }
    cleanVectorState();
    // Never more than the sink's buffer ahead of what is heard.
    for (;;) {
        const qint64 room = std::min<qint64>(m_sink->bytesFree(), m_chunk.size()) & ~qint64(1);
        if (room <= 0)
            return;
        const qint64 got = m_pcm->read(m_chunk.data(), room);
        if (got <= 0) {
            if (m_pcm->atEnd())
                windDown();
            return;
        }
        m_out->write(m_chunk.constData(), got);
    }
}

void SinkStream::windDown()
{
    m_feed.stop();
    m_state->store(State::ended);
    // The queued tail plays out before the stream is disconnected, or it would be cut.
    const auto drain = std::chrono::milliseconds(m_sink->bufferSize() * 1000 / (RampedPcmDevice::sampleRate * 2)) + 50ms;
    QTimer::singleShot(drain, this, [this] {
        m_sink->stop();
        deleteLater();
    });
}

} // namespace zorvik
