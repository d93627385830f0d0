#include "sound/backend/pulse_audio_player.h"

#include "sound/backend/pulse_audio_output.h"
#include "sound/backend/pulse_stream.h"

#include <algorithm>
#include <cmath>

namespace zorvik {

PulseAudioPlayer::PulseAudioPlayer(PulseAudioOutput &output, AudioOutput::Wave wave)
    : m_output(output)
    , m_wave(std::move(wave))
    , m_sound(std::make_shared<RampedPcm>())
{
}

PulseAudioPlayer::~PulseAudioPlayer()
{
    // Still sounding: it fades out, and its stream ends by itself.
    stop();
}

void PulseAudioPlayer::setVolume(float volume, double fadeSeconds)
{
    if (!m_started) {
        m_sound->setGain(volume);
        return;
    }
    m_sound->rampTo(volume, durationOf(fadeSeconds));
    m_output.retarget(m_sound);
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
    if (!m_started)
        return;
    m_sound->fadeOutAndFinish(durationOf(stopFadeSeconds));
    m_output.retarget(m_sound);
}

RampedPcm::Clock::duration PulseAudioPlayer::durationOf(double seconds)
{
    // Ten seconds is far longer than any fade we ask for.
    const double clamped = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 10.0) : 0.0;
    return std::chrono::duration_cast<RampedPcm::Clock::duration>(std::chrono::duration<double>(clamped));
}

} // namespace zorvik
