#pragma once

#include <QByteArray>

#include <functional>
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
    // Makes the whole file. An output may call it later, on a thread of its own, so that the
    // caller does not wait for the synthesis; it runs once, before the sound starts.
    using Wave = std::function<QByteArray()>;

    virtual ~AudioOutput() = default;
    // Null when the platform refuses (no device); a file it cannot play stays silent.
    virtual std::unique_ptr<AudioPlayer> createPlayer(Wave wave) = 0;
    // Fades out what still sounds and ends whatever the output runs (threads, connections);
    // returns once they have ended. Called by the owner while the application object exists.
    virtual void shutDown() {}
};

} // namespace zorvik
