#pragma once

#include "sound/audio_output.h"
#include "sound/backend/audio_thread.h"

#include <memory>
#include <vector>

namespace zorvik {

class PulseConnection;
class PulseStream;
class RampedPcm;

// Plays sounds through the PulseAudio client library (PipeWire desktops serve it too), on one
// audio thread of its own. One per process, made and shut down by its owner while the
// application object exists. Without a sound server every sound stays silent; a server that
// comes back is used by the next sound.
class PulseAudioOutput final : public AudioOutput {
public:
    // How long a sound is given to fade out at shutDown().
    static constexpr int shutDownFadeMilliseconds = 80;

    PulseAudioOutput();
    ~PulseAudioOutput() override;

    std::unique_ptr<AudioPlayer> createPlayer(Wave wave) override;
    // Fades out what still sounds and ends the audio thread; returns once it has ended. Sounds
    // asked for later stay silent.
    void shutDown() override;

    // From PulseAudioPlayer: synthesises the sound and plays it, both on the audio thread.
    void play(std::shared_ptr<RampedPcm> sound, Wave wave);
    // From PulseAudioPlayer: the sound's gain was asked to change.
    void retarget(std::shared_ptr<RampedPcm> sound);

private:
    // On the audio thread.
    bool owns(const PulseStream *stream) const;
    void streamEnded(PulseStream *stream);
    void beginShutDown();
    void tearDown();

    AudioThread m_thread;
    // The rest lives on the audio thread.
    std::unique_ptr<PulseConnection> m_connection;
    std::vector<std::unique_ptr<PulseStream>> m_streams;
    bool m_shuttingDown = false;
};

} // namespace zorvik
