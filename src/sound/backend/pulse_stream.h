#pragma once

#include "sound/audio_output.h"
#include "sound/backend/ramped_pcm.h"

#include <atomic>
#include <functional>
#include <memory>

struct pa_context;
struct pa_stream;

namespace zorvik {

// What a player and its stream share across threads: the samples with their gain, and how far
// ahead of the ear the stream writes.
struct SharedSound {
    RampedPcm pcm;
    std::atomic<int> aheadMicroseconds{0};
};

// One sound on one playback stream, on the audio thread. The stream asks for samples through
// its write callback and gets them from the RampedPcm, never more than its target length ahead
// of what is heard, so a change of gain reaches the ear that much later however busy the window
// is. Once the samples have ended it drains and reports that it has ended; so it does when the
// server refuses or loses it. Its owner deletes it after that report (never inside it).
class PulseStream {
public:
    // Samples the server keeps queued ahead of the ear (the buffer's target length, the sink's
    // own latency included). The server asks for more from its main thread, which runs at normal
    // priority: with everything else busy its requests came up to 40 ms late, and 20 or 25 ms
    // ran dry in some sounds, 30 ms in few. A fade is shortened by what is queued (down to
    // 10 ms), so 30 ms still lets a change be heard in full at 40 ms.
    static constexpr int targetMicroseconds = 30000;
    // The server asks for more whenever this much has room, and starts playing once this much
    // is queued: small, so that a sound starts at once and goes on at once after a late write.
    static constexpr int requestMicroseconds = 5000;

    PulseStream(std::shared_ptr<SharedSound> sound, std::function<void(PulseStream *)> ended);
    ~PulseStream();

    PulseStream(const PulseStream &) = delete;
    PulseStream &operator=(const PulseStream &) = delete;

    // Plays the sound on the connected context; a null context (no server) ends it at once.
    void start(pa_context *context);
    // Fades out and ends; at exit.
    void finish();

private:
    static void stateChanged(pa_stream *stream, void *self);
    static void writeRequested(pa_stream *stream, std::size_t bytes, void *self);
    void write(std::size_t bytes);
    void noteLatency();
    void end();

    std::shared_ptr<SharedSound> m_sound;
    std::function<void(PulseStream *)> m_ended;
    pa_stream *m_stream = nullptr;
    bool m_draining = false;
    bool m_over = false;
};

} // namespace zorvik
