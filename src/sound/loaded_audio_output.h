#pragma once

#include "sound/audio_output.h"

namespace zorvik {

// The default audio output of the program: SinkAudioOutput, living in the separately built
// module "zorvik_audio" and loaded on the first createPlayer(). QtMultimedia brings QtNetwork,
// libpulse and a row of codec libraries with it (about 3 MB of resident memory at launch);
// loading it on the first sound keeps all of them out of a program that has not played one.
// When the module cannot be loaded every player is refused, as with no audio device.
class LoadedAudioOutput final : public AudioOutput {
public:
    std::unique_ptr<AudioPlayer> createPlayer(Wave wave) override;

    // Loads the module now, if not done yet; the output it provides, or null.
    AudioOutput *output();

private:
    AudioOutput *m_output = nullptr;
    bool m_tried = false;
};

} // namespace zorvik
