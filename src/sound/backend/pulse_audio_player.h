#pragma once

#include "sound/audio_output.h"
#include "sound/backend/ramped_pcm.h"

#include <memory>

namespace zorvik {

class PulseAudioOutput;

// One sound of a PulseAudioOutput. All gain is applied per sample by the RampedPcm, whose
// target this side sets at any time; the server's own stream volume is left to the user's mixer.
// A change of volume is heard in full when its fade time is over: the stream rewrites what it
// has queued, and the ramp ends on time. Stopping or dropping the player fades the sound out; its stream then ends by itself.
class PulseAudioPlayer final : public AudioPlayer {
public:
    // Length of the fade used by stop() and by dropping a sounding player.
    static constexpr double stopFadeSeconds = 0.04;

    PulseAudioPlayer(PulseAudioOutput &output, AudioOutput::Wave wave);
    ~PulseAudioPlayer() override;

    void setVolume(float volume, double fadeSeconds) override;
    void prepareToPlay() override {}
    void play() override;
    void stop() override;

private:
    static RampedPcm::Clock::duration durationOf(double seconds);

    PulseAudioOutput &m_output;
    AudioOutput::Wave m_wave;
    std::shared_ptr<RampedPcm> m_sound;
    bool m_started = false;
};

} // namespace zorvik
