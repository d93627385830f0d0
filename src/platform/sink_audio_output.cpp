#include "platform/sink_audio_output.h"

namespace zorvik {

// Placeholder until the sink player lands: every player is refused, so spins run silently.
SinkAudioOutput &SinkAudioOutput::shared()
{
    static SinkAudioOutput output;
    return output;
}

std::unique_ptr<AudioPlayer> SinkAudioOutput::createPlayer(const QByteArray &)
{
    return nullptr;
}

} // namespace zorvik
