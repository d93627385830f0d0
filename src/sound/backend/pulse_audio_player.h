#pragma once

#include "sound/audio_output.h"

#include <memory>

namespace zorvik {

class PulseAudioOutput;
struct SharedSound;

// One sound of a PulseAudioOutput. All gain is applied per sample by the RampedPcm, whose
// target this side sets at any time; the server's own stream volume is left to the user's mixer.
// A change of volume is heard in full when its fade time is over: the samples already queued
// ahead of the ear play at the old level, and the ramp over the new ones takes the rest of the
// time. Stopping or dropping the player fades the sound out; its stream then ends by itself.
class PulseAudioPlayer final : public AudioPlayer {
public:
    // Length of the fade used by stop() and by dropping a sounding player.
    static constexpr double stopFadeSeconds = 0.04;
    // The shortest ramp of a change, whatever is queued: a step would click.
    static constexpr double shortestFadeSeconds = 0.010;

    PulseAudioPlayer(PulseAudioOutput &output, AudioOutput::Wave wave);
    ~PulseAudioPlayer() override;

    void setVolume(float volume, double fadeSeconds) override;
    void prepareToPlay() override {}
    void play() override;
    void stop() override;

private:
    // The ramp over the samples not yet queued, so that the fade is over when its time is.
    double rampSeconds(double fadeSeconds) const;

    PulseAudioOutput &m_output;
    AudioOutput::Wave m_wave;
    std::shared_ptr<SharedSound> m_sound;
    bool m_started = false;
};

} // namespace zorvik
