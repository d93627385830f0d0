#pragma once

#include "sound/audio_output.h"

namespace zorvik {

// Players on the default audio device through QAudioSink (24 kHz mono 16-bit, pull mode).
class SinkAudioOutput final : public AudioOutput {
public:
    static SinkAudioOutput &shared();
    std::unique_ptr<AudioPlayer> createPlayer(const QByteArray &wav) override;
};

} // namespace zorvik
