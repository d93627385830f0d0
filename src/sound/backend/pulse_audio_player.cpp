#include "sound/backend/pulse_audio_player.h"

#include "sound/backend/pulse_audio_output.h"
#include "sound/backend/pulse_stream.h"

#include <algorithm>

namespace zorvik {

PulseAudioPlayer::PulseAudioPlayer(PulseAudioOutput &output, AudioOutput::Wave wave)
    : m_output(output)
    , m_wave(std::move(wave))
    , m_sound(std::make_shared<SharedSound>())
{
}

PulseAudioPlayer::~PulseAudioPlayer()
{
    // Still sounding: it fades out, and its stream ends by itself.
    stop();
}

void PulseAudioPlayer::setVolume(float volume, double fadeSeconds)
{
    if (!m_started)
        m_sound->pcm.setGain(volume);
    else
        m_sound->pcm.rampTo(volume, rampSeconds(fadeSeconds));
}

void PulseAudioPlayer::play()
{
    if (m_started)
        return;
    m_started = true;
    m_output.play(m_sound, std::move(m_wave));
}

void PulseAudioPlayer::stop()
{
    if (m_started)
        m_sound->pcm.fadeOutAndFinish(rampSeconds(stopFadeSeconds));
}

double PulseAudioPlayer::rampSeconds(double fadeSeconds) const
{
    const double ahead = m_sound->aheadMicroseconds.load(std::memory_order_relaxed) / 1e6;
    return std::max(shortestFadeSeconds, fadeSeconds - ahead);
}

} // namespace zorvik
