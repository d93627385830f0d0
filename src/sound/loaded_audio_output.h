#pragma once

#include "sound/audio_output.h"

#include <memory>

namespace zorvik {

// The default audio output of the program: PulseAudioOutput, living in the separately built
// module "zorvik_audio" and loaded on the first createPlayer(). libpulse brings libpulsecommon,
// libsndfile and their codecs with it; loading it on the first sound keeps all of them out of
// a launch. When the module cannot be loaded every player is refused, as with no audio device.
// Owns the output it loads: shutDown() (or destruction) ends it.
class LoadedAudioOutput final : public AudioOutput {
public:
    ~LoadedAudioOutput() override;

    std::unique_ptr<AudioPlayer> createPlayer(Wave wave) override;
    void shutDown() override;

    // Loads the module now, if not done yet; the output it provides, or null.
    AudioOutput *output();

private:
    std::unique_ptr<AudioOutput> m_output;
    bool m_tried = false;
};

} // namespace zorvik
