#include "sound/rolling_audio.h"

#include "platform/audio_output.h"
#include "platform/loaded_audio_output.h"
#include "platform/settings_store.h"
#include "platform/user_settings.h"

#include <cmath>

namespace zorvik {

namespace {

const QString mutedKey = QStringLiteral("soundMuted");
const QString volumeKey = QStringLiteral("soundVolume");
constexpr double defaultVolume = 0.25;
constexpr double fadeSeconds = 0.04;

// A boolean, a number (non-zero is true) or the words true/yes/on; anything else, such as a
// hand-edited "banana" that QVariant::toBool() would call true, is the default: not muted.
bool storedMuted(const SettingsStore &settings)
{
    const QVariant value = settings.value(mutedKey);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toBool();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("yes") || text == QLatin1String("on"))
            return true;
        bool ok = false;
        const double number = text.toDouble(&ok);
        return ok && number != 0.0;
    }
    default:
        return false;
    }
}

// Only a number counts. Values from an earlier process come back as text and are parsed here;
// "nan" and "inf" parse as numbers and the effective volume takes care of them.
double storedVolume(const SettingsStore &settings)
{
    const QVariant value = settings.value(volumeKey);
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toDouble();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const double parsed = value.toString().trimmed().toDouble(&ok);
        return ok ? parsed : defaultVolume;
    }
    default:
        return defaultVolume;
    }
}

} // namespace

RollingAudio::RollingAudio(QObject *parent)
    : RollingAudio(UserSettings::shared(), LoadedAudioOutput::shared(), parent)
{
}

RollingAudio::RollingAudio(SettingsStore &settings, AudioOutput &output, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_output(output)
    , m_muted(storedMuted(settings))
    , m_volume(storedVolume(settings))
{
}

// Drops the player without stopping it first.
RollingAudio::~RollingAudio() = default;

void RollingAudio::setMuted(bool muted)
{
    m_muted = muted;
    emit changed();
    m_settings.setValue(mutedKey, muted);
    applyVolume();
}

void RollingAudio::setVolume(double volume)
{
    m_volume = volume;
    emit changed();
    m_settings.setValue(volumeKey, volume);
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
        player = m_output.createPlayer(wave(duration));
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
