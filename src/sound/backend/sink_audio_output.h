#pragma once

#include "sound/audio_output.h"

#include <QThread>

namespace zorvik {

// Players on the default audio device through QAudioSink (24 kHz mono 16-bit), each fed from
// the one audio thread, so that a busy window never lets the sound run dry.
class SinkAudioOutput final : public AudioOutput {
public:
    static SinkAudioOutput &shared();

    SinkAudioOutput();
    ~SinkAudioOutput() override;

    std::unique_ptr<AudioPlayer> createPlayer(Wave wave) override;

private:
    // Deleted only once it has finished (destroying a running QThread aborts).
    QThread *m_thread = new QThread;
};

} // namespace zorvik
