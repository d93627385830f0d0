#include "sound/backend/pulse_audio_output.h"

#include "sound/backend/pulse_audio_player.h"
#include "sound/backend/pulse_connection.h"
#include "sound/backend/pulse_stream.h"
#include "sound/backend/sound_log.h"

#include <pulse/mainloop-api.h>
#include <pulse/timeval.h>

#include <algorithm>
#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace zorvik {

namespace {

std::atomic<int> outputsAlive{0};

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}
#endif

// Code that ran before on this thread (inside the client library) may leave the upper halves
// of the AVX registers in use; after that every plain SSE instruction pays for the transition,
// and the synthesis of a 5 s sound took 90 ms instead of 5. Clearing them is free.
void cleanVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        zeroUpperHalves();
#endif
}

} // namespace

PulseAudioOutput::PulseAudioOutput()
{
    // Two outputs would be two audio threads and two connections racing for the same sink.
    if (outputsAlive.fetch_add(1) != 0)
        qCWarning(lcSound) << "more than one audio output in this process";
    m_thread.post([this] { m_connection = std::make_unique<PulseConnection>(m_thread.api()); });
}

PulseAudioOutput::~PulseAudioOutput()
{
    shutDown();
    outputsAlive.fetch_sub(1);
}

std::unique_ptr<AudioPlayer> PulseAudioOutput::createPlayer(Wave wave)
{
    return std::make_unique<PulseAudioPlayer>(*this, std::move(wave));
}

void PulseAudioOutput::play(std::shared_ptr<RampedPcm> sound, Wave wave)
{
    m_thread.post([this, sound = std::move(sound), wave = std::move(wave)]() mutable {
        if (m_shuttingDown)
            return;
        auto stream = std::make_unique<PulseStream>(sound, [this](PulseStream *ended) { streamEnded(ended); });
        PulseStream *raw = stream.get();
        m_streams.push_back(std::move(stream));
        m_connection->whenReady([this, raw](pa_context *context) {
            if (owns(raw))
                raw->start(context);
        });
        // The server sets the stream up while the wave is made (a few milliseconds each): the
        // request is sent once this task returns, and the stream's first write waits for the wave.
        m_thread.post([this, raw, sound = std::move(sound), wave = std::move(wave)] {
            if (!owns(raw))
                return;
            cleanVectorState();
            QByteArray wav;
            try {
                wav = wave();
            } catch (...) {
                // Out of memory for it: no sound.
            }
            if (!RampedPcm::accepts(wav)) {
                raw->finish();
                return;
            }
            sound->setWave(wav);
            raw->waveReady();
        });
    });
}

bool PulseAudioOutput::owns(const PulseStream *stream) const
{
    return std::any_of(m_streams.begin(), m_streams.end(), [stream](const auto &s) { return s.get() == stream; });
}

void PulseAudioOutput::retarget(std::shared_ptr<RampedPcm> sound)
{
    m_thread.post([this, sound = std::move(sound)] {
        for (const auto &stream : m_streams)
            if (stream->plays(sound.get()))
                stream->retarget();
    });
}

void PulseAudioOutput::streamEnded(PulseStream *stream)
{
    // Deleted on the next turn of the loop: the library may still be inside the stream's callback.
    m_thread.post([this, stream] {
        std::erase_if(m_streams, [stream](const auto &s) { return s.get() == stream; });
        if (m_shuttingDown && m_streams.empty())
            tearDown();
    });
}

void PulseAudioOutput::shutDown()
{
    if (m_thread.post([this] { beginShutDown(); }))
        m_thread.join();
}

void PulseAudioOutput::beginShutDown()
{
    m_shuttingDown = true;
    if (m_streams.empty()) {
        tearDown();
        return;
    }
    for (const auto &stream : m_streams)
        stream->finish();
    // The fade is heard by then (40 ms, and the sink's 10 behind it); what the streams still
    // queue behind it is silence, so they go without draining it.
    timeval deadline{};
    pa_timeval_add(pa_gettimeofday(&deadline), pa_usec_t(shutDownFadeMilliseconds) * 1000);
    pa_mainloop_api *api = m_thread.api();
    api->time_new(
        api, &deadline,
        [](pa_mainloop_api *, pa_time_event *, const timeval *, void *self) {
            static_cast<PulseAudioOutput *>(self)->tearDown();
        },
        this);
}

void PulseAudioOutput::tearDown()
{
    m_thread.quit([this] {
        m_streams.clear();
        m_connection.reset();
    });
}

} // namespace zorvik
