#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

namespace zorvik {

class AudioOutput;
class AudioPlayer;
class Settings;

// Plays the rolling sound of a spin and keeps the two sound settings ("soundMuted",
// "soundVolume"), which are read once at construction and written on every assignment. Each is
// a property whose change signal comes only when the value differs from the one before.
class RollingAudio : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool muted READ muted WRITE setMuted NOTIFY mutedChanged)
    Q_PROPERTY(double volume READ volume WRITE setVolume NOTIFY volumeChanged)

public:
    RollingAudio(Settings &settings, AudioOutput &output, QObject *parent = nullptr);
    ~RollingAudio() override;

    bool muted() const { return m_muted; }
    void setMuted(bool muted);

    // Nominally 0 to 1, neither clamped when read nor when assigned.
    double volume() const { return m_volume; }
    void setVolume(double volume);

    // What the player gets: 0 when muted, otherwise the volume clamped to [0, 1] (NaN gives 0).
    float effectiveVolume() const;

    // Synthesises a sound of the given length and plays it once; a refused player is
    // swallowed and the spin runs silently.
    void play(double duration);
    void stop();

    // The whole sound as a 16-bit mono 24 kHz WAV file held in memory.
    static QByteArray wave(double duration);

signals:
    void mutedChanged(bool muted);
    void volumeChanged(double volume);

private:
    void applyVolume();

    Settings &m_settings;
    AudioOutput &m_output;
    bool m_muted = false;
    double m_volume = 0.0;
    std::unique_ptr<AudioPlayer> m_player;
};

} // namespace zorvik
