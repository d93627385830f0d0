// The entry point of the "zorvik_audio" module, which LoadedAudioOutput loads on the first
// sound: the QtMultimedia-based output.
#include "sound/backend/sink_audio_output.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT zorvik::AudioOutput *zorvik_audio_output()
{
    return &zorvik::SinkAudioOutput::shared();
}
