// The entry point of the "zorvik_audio" module, which LoadedAudioOutput loads on the first
// sound: the output through the PulseAudio client library, owned by the caller.
#include "sound/backend/pulse_audio_output.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT zorvik::AudioOutput *zorvik_audio_output_create()
{
    return new zorvik::PulseAudioOutput;
}
