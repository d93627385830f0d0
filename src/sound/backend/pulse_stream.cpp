#include "sound/backend/pulse_stream.h"

#include "sound/backend/sound_log.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>

#include <algorithm>

namespace zorvik {

namespace {

constexpr double stopFadeSeconds = 0.04;

std::uint32_t bytesFor(int microseconds)
{
    return std::uint32_t(std::int64_t(microseconds) * RampedPcm::sampleRate / 1000000 * 2);
}

} // namespace

PulseStream::PulseStream(std::shared_ptr<SharedSound> sound, std::function<void(PulseStream *)> ended)
    : m_sound(std::move(sound))
    , m_ended(std::move(ended))
{
}

PulseStream::~PulseStream()
{
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
        pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
}

void PulseStream::start(pa_context *context)
{
    if (m_over)
        return; // finished before the server answered
    if (!context) {
        end();
        return;
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, std::uint32_t(RampedPcm::sampleRate), 1};
    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
    m_stream = pa_stream_new_with_proplist(context, "Rolling ball", &format, nullptr, properties);
    pa_proplist_free(properties);
    if (!m_stream) {
        qCInfo(lcSound) << "stream refused:" << pa_strerror(pa_context_errno(context));
        end();
        return;
    }
    pa_stream_set_state_callback(m_stream, &PulseStream::stateChanged, this);
    pa_stream_set_write_callback(m_stream, &PulseStream::writeRequested, this);
    pa_stream_set_underflow_callback(
        m_stream, [](pa_stream *, void *) { qCInfo(lcSound) << "ran dry: the samples came too late"; }, nullptr);
    pa_buffer_attr buffer{};
    buffer.maxlength = std::uint32_t(-1);
    buffer.tlength = bytesFor(targetMicroseconds);
    buffer.prebuf = bytesFor(requestMicroseconds);
    buffer.minreq = bytesFor(requestMicroseconds);
    buffer.fragsize = std::uint32_t(-1);
    // The target length counts to the ear (the sink's latency included); the latency is
    // measured as it goes, so that a fade ends when its time is over.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_stream, nullptr, &buffer, flags, nullptr, nullptr) < 0) {
        qCInfo(lcSound) << "stream refused:" << pa_strerror(pa_context_errno(context));
        end();
    }
}

void PulseStream::finish()
{
    m_sound->pcm.fadeOutAndFinish(stopFadeSeconds);
    if (!m_stream)
        end(); // not connected yet: nothing to fade
}

void PulseStream::stateChanged(pa_stream *stream, void *self)
{
    auto *us = static_cast<PulseStream *>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        if (const pa_buffer_attr *buffer = pa_stream_get_buffer_attr(stream))
            qCInfo(lcSound) << "playing: tlength" << buffer->tlength << "prebuf" << buffer->prebuf << "minreq"
                             << buffer->minreq << "bytes";
        break;
    case PA_STREAM_FAILED:
        qCInfo(lcSound) << "stream lost:" << pa_strerror(pa_context_errno(pa_stream_get_context(stream)));
        us->end();
        break;
    case PA_STREAM_TERMINATED:
        us->end();
        break;
    default:
        break;
    }
}

void PulseStream::writeRequested(pa_stream *, std::size_t bytes, void *self)
{
    static_cast<PulseStream *>(self)->write(bytes);
}

void PulseStream::write(std::size_t bytes)
{
    noteLatency();
    while (bytes > 0 && !m_draining) {
        void *data = nullptr;
        std::size_t room = bytes;
        if (pa_stream_begin_write(m_stream, &data, &room) < 0 || !data) {
            // The stream failed under us; its state callback follows.
            return;
        }
        room = std::min(room, bytes);
        const std::size_t got = m_sound->pcm.read(static_cast<char *>(data), room);
        if (got == 0) {
            pa_stream_cancel_write(m_stream);
            m_draining = true;
            // The queued tail plays out before the stream goes.
            pa_operation *drain = pa_stream_drain(
                m_stream, [](pa_stream *, int, void *self) { static_cast<PulseStream *>(self)->end(); }, this);
            if (drain)
                pa_operation_unref(drain);
            else
                end();
            return;
        }
        if (pa_stream_write(m_stream, data, got, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        bytes -= got;
    }
}

void PulseStream::noteLatency()
{
    pa_usec_t latency = 0;
    int negative = 0;
    if (pa_stream_get_latency(m_stream, &latency, &negative) == 0)
        m_sound->aheadMicroseconds.store(negative ? 0 : int(std::min<pa_usec_t>(latency, 1000000)),
                                         std::memory_order_relaxed);
}

void PulseStream::end()
{
    if (m_over)
        return;
    m_over = true;
    m_sound->aheadMicroseconds.store(0, std::memory_order_relaxed);
    if (m_stream) {
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    }
    m_ended(this);
}

} // namespace zorvik
