#pragma once

#include "sound/audio_output.h"
#include "sound/backend/ramped_pcm.h"

#include <cstdint>
#include <functional>
#include <memory>

struct pa_context;
struct pa_stream;

namespace zorvik {

// One sound on one playback stream, on the audio thread. The stream asks for samples through
// its write callback and gets them from the RampedPcm, well ahead of the ear so that a busy
// machine never lets it run dry. A change of gain does not wait for that queue: retarget()
// writes the queued samples again, from just beyond what the server has taken, under the new
// gain. Once the samples have ended it drains and reports that it has ended; so it does when
// the server refuses or loses it. Its owner deletes it after that report (never inside it).
class PulseStream {
public:
    // The server splits the target length between the sink's own buffer and its queue for this
    // stream, keeping two requests' worth for the queue: half of what is left after two
    // requests goes to the sink. So the sink holds 10 ms, and the queue up to 290, of which
    // 150 remain when the server asks for more. A server that cannot share memory with us
    // through memfd asks from its main thread, which this machine's scheduler held up for 100
    // to 140 ms now and then under load (a thread at normal priority, as the server's is,
    // waking from 2 ms sleeps: once in 30 s); with 30 ms queued the sound ran dry then.
    static constexpr int sinkMicroseconds = 10000;
    static constexpr int requestMicroseconds = 140000;
    static constexpr int targetMicroseconds = 2 * (sinkMicroseconds + requestMicroseconds);
    // The server starts playing once this much is queued: a sound starts at once.
    static constexpr int prebufferMicroseconds = 5000;
    // A rewrite starts this far beyond what the server has taken, for the time our write takes
    // to reach it; what arrives too late of it is dropped there, and the ramp goes on from
    // wherever that leaves it.
    static constexpr int rewriteMarginMicroseconds = 10000;

    PulseStream(std::shared_ptr<RampedPcm> sound, std::function<void(PulseStream *)> ended);
    ~PulseStream();

    PulseStream(const PulseStream &) = delete;
    PulseStream &operator=(const PulseStream &) = delete;

    // Plays the sound on the connected context; a null context (no server) ends it at once.
    void start(pa_context *context);
    // The sound's samples are there: the stream writes from now on.
    void waveReady();
    // Fades out and ends; at exit, or when the wave cannot be played.
    void finish();
    // The sound's gain was asked to change: the queued samples are written again under it.
    void retarget();
    bool plays(const RampedPcm *sound) const { return m_sound.get() == sound; }

private:
    static void stateChanged(pa_stream *stream, void *self);
    static void writeRequested(pa_stream *stream, std::size_t bytes, void *self);
    void write(std::size_t bytes);
    // When the ear hears the byte at `position` of the stream (now, before the server has
    // measured the stream), and the same from `played`, the microseconds the ear has heard.
    RampedPcm::Clock::time_point heardAt(std::size_t position) const;
    static RampedPcm::Clock::time_point heardAt(std::size_t position, std::uint64_t played);
    void end();

    std::shared_ptr<RampedPcm> m_sound;
    std::function<void(PulseStream *)> m_ended;
    pa_stream *m_stream = nullptr;
    std::size_t m_written = 0; // bytes: the server's write index
    bool m_waveReady = false;
    bool m_draining = false;
    bool m_over = false;
};

} // namespace zorvik
