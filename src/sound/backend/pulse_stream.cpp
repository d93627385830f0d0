#include "sound/backend/pulse_stream.h"

#include "sound/backend/sound_log.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>

#include <algorithm>

namespace zorvik {

namespace {

constexpr auto stopFade = std::chrono::milliseconds(40);
constexpr std::int64_t bytesPerSecond = std::int64_t(RampedPcm::sampleRate) * 2;

std::size_t bytesFor(pa_usec_t microseconds)
{
    return std::size_t(std::min<pa_usec_t>(microseconds, 3'600'000'000) * bytesPerSecond / 1'000'000) & ~std::size_t(1);
}

} // namespace

PulseStream::PulseStream(std::shared_ptr<RampedPcm> sound, std::function<void(PulseStream *)> ended)
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
    buffer.tlength = std::uint32_t(bytesFor(targetMicroseconds));
    buffer.prebuf = bytesFor(prebufferMicroseconds);
    buffer.minreq = bytesFor(requestMicroseconds);
    buffer.fragsize = std::uint32_t(-1);
    // The target length counts to the ear (the sink's latency included); where the ear is gets
    // measured as it goes, so that a fade ends when its time is over.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_stream, nullptr, &buffer, flags, nullptr, nullptr) < 0) {
        qCInfo(lcSound) << "stream refused:" << pa_strerror(pa_context_errno(context));
        end();
    }
}

void PulseStream::waveReady()
{
    m_waveReady = true;
    // The server's first request came meanwhile and waits unanswered.
    if (!m_over && m_stream && pa_stream_get_state(m_stream) == PA_STREAM_READY) {
        const std::size_t asked = pa_stream_writable_size(m_stream);
        if (asked > 0 && asked != std::size_t(-1))
            write(asked);
    }
}

void PulseStream::finish()
{
    m_sound->fadeOutAndFinish(stopFade);
    if (!m_stream || !m_waveReady)
        end(); // nothing played yet: nothing to fade
    else
        retarget();
}

void PulseStream::retarget()
{
    if (m_over || !m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY)
        return; // the first write takes the change
    pa_usec_t played = 0;
    const pa_timing_info *timing = pa_stream_get_timing_info(m_stream);
    if (!timing || pa_stream_get_time(m_stream, &played) < 0)
        return; // not measured yet: the next write takes it
    // The server has taken what its sink holds beyond the ear.
    const std::size_t safe = bytesFor(played) + bytesFor(timing->sink_usec + rewriteMarginMicroseconds);
    if (safe >= m_sound->position())
        return;
    const std::size_t from = m_sound->rewindTo(safe);
    const auto heard = heardAt(from, played); // the same measurement that chose where to start
    // Written over the queue: seeking back by as much as is written leaves the write index, and
    // with it both sides' count of what is asked for, where it was.
    std::size_t left = m_written - from;
    auto seek = -std::int64_t(left);
    while (left > 0) {
        void *data = nullptr;
        std::size_t room = left;
        if (pa_stream_begin_write(m_stream, &data, &room) < 0 || !data)
            return; // the stream failed under us; its state callback follows
        room = std::min(room, left);
        const std::size_t got = m_sound->read(static_cast<char *>(data), room, heard);
        std::fill(static_cast<char *>(data) + got, static_cast<char *>(data) + room, 0); // faded out
        if (pa_stream_write(m_stream, data, room, nullptr, seek, PA_SEEK_RELATIVE) < 0)
            return;
        seek = 0;
        left -= room;
    }
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
    if (!m_waveReady)
        return; // asked again once it is
    const auto heard = heardAt(m_written);
    while (bytes > 0 && !m_draining) {
        void *data = nullptr;
        std::size_t room = bytes;
        if (pa_stream_begin_write(m_stream, &data, &room) < 0 || !data) {
            // The stream failed under us; its state callback follows.
            return;
        }
        room = std::min(room, bytes);
        const std::size_t got = m_sound->read(static_cast<char *>(data), room, heard);
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
        m_written += got;
        bytes -= got;
    }
}

RampedPcm::Clock::time_point PulseStream::heardAt(std::size_t position) const
{
    pa_usec_t played = 0;
    if (pa_stream_get_time(m_stream, &played) < 0)
        return RampedPcm::Clock::now();
    return heardAt(position, played);
}

RampedPcm::Clock::time_point PulseStream::heardAt(std::size_t position, std::uint64_t played)
{
    const auto ahead = std::int64_t(position) - std::int64_t(bytesFor(played));
    return RampedPcm::Clock::now() + std::chrono::microseconds(ahead * 1'000'000 / bytesPerSecond);
}

void PulseStream::end()
{
    if (m_over)
        return;
    m_over = true;
    if (m_stream) {
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    }
    m_ended(this);
}

} // namespace zorvik
