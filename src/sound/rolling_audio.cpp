#include "sound/rolling_audio.h"

#include "services/settings.h"
#include "sound/audio_output.h"

#include <cmath>

namespace zorvik {

namespace {

constexpr double fadeSeconds = 0.04;

} // namespace

RollingAudio::RollingAudio(Settings &settings, AudioOutput &output, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_output(output)
    , m_muted(settings.soundMuted())
    , m_volume(settings.soundVolume())
{
}

// Drops the player without stopping it first.
RollingAudio::~RollingAudio() = default;

void RollingAudio::setMuted(bool muted)
{
    const bool changed = muted != m_muted;
    m_muted = muted;
    if (changed)
        emit mutedChanged(muted);
    m_settings.setSoundMuted(muted);
    applyVolume();
}

void RollingAudio::setVolume(double volume)
{
    // Not a number is the same value as the one before (NaN differs from itself).
    const bool changed = !(volume == m_volume || (std::isnan(volume) && std::isnan(m_volume)));
    m_volume = volume;
    if (changed)
        emit volumeChanged(volume);
    m_settings.setSoundVolume(volume);
    applyVolume();
}

float RollingAudio::effectiveVolume() const
{
    if (m_muted || !(m_volume > 0.0)) // NaN lands here too
        return 0.0F;
    if (m_volume >= 1.0)
        return 1.0F;
    return static_cast<float>(m_volume);
}

void RollingAudio::applyVolume()
{
    if (m_player)
        m_player->setVolume(effectiveVolume(), fadeSeconds);
}

void RollingAudio::play(double duration)
{
    if (m_player)
        m_player->stop();
    m_player.reset();

    std::unique_ptr<AudioPlayer> player;
    try {
        player = m_output.createPlayer([duration] { return wave(duration); });
    } catch (...) {
        // A refused sound is no sound; the spin runs silently.
        return;
    }
    if (!player)
        return;
    m_player = std::move(player);
    applyVolume();
    m_player->prepareToPlay();
    m_player->play();
}

void RollingAudio::stop()
{
    if (m_player)
        m_player->stop();
    m_player.reset();
}

} // namespace zorvik
