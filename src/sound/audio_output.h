#pragma once

#include <QByteArray>

#include <memory>

namespace zorvik {

// One sound held in memory, played once from the beginning.
class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    // volume in [0, 1], reached by a ramp over fadeSeconds instead of a step.
    virtual void setVolume(float volume, double fadeSeconds) = 0;
    virtual void prepareToPlay() = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
};

// Makes players for complete WAV files held in memory.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Null when the platform refuses (no device, unusable data).
    virtual std::unique_ptr<AudioPlayer> createPlayer(const QByteArray &wav) = 0;
};

} // namespace zorvik
