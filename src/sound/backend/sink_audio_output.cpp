#include "sound/backend/sink_audio_output.h"

#include "sound/backend/ramped_pcm_device.h"
#include "sound/backend/sink_audio_player.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace zorvik {

namespace {

quint32 u32At(const QByteArray &b, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + offset);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 u16At(const QByteArray &b, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + offset);
    return quint16(p[0] | p[1] << 8);
}

// The only data we play: a RIFF/WAVE file with the plain 44-byte header of 16-bit mono PCM
// at 24 kHz.
bool isOurWave(const QByteArray &wav)
{
    return wav.size() >= RampedPcmDevice::headerBytes && wav.startsWith("RIFF")
        && wav.mid(8, 8) == "WAVEfmt " && u16At(wav, 20) == 1 && u16At(wav, 22) == 1
        && u32At(wav, 24) == quint32(RampedPcmDevice::sampleRate) && u16At(wav, 34) == 16
        && wav.mid(36, 4) == "data";
}

} // namespace

SinkAudioOutput &SinkAudioOutput::shared()
{
    static SinkAudioOutput output;
    return output;
}

std::unique_ptr<AudioPlayer> SinkAudioOutput::createPlayer(const QByteArray &wav)
{
    if (!isOurWave(wav))
        return nullptr;
    // Without a sound server the list of devices is empty and this returns at once.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    return std::make_unique<SinkAudioPlayer>(device, wav);
}

} // namespace zorvik
