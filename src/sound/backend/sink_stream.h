#pragma once

#include <QAudioDevice>
#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class QAudioSink;
class QIODevice;

namespace zorvik {

class RampedPcmDevice;

// One sound on one QAudioSink (24 kHz mono 16-bit) in push mode, living on the audio thread.
// The sound is synthesised there too, so that neither the window's thread waits for it nor
// the sound for a busy window.
// Every few milliseconds it tops the sink's buffer up from the RampedPcmDevice, so that no
// more than the buffer is ever queued ahead of what is heard: a change of gain reaches the
// sound server that much later, whatever the window is busy with. Once the device has ended
// it lets the queued tail play, stops the sink and deletes itself.
class SinkStream : public QObject {
    Q_OBJECT

public:
    enum class State { idle, playing, ended };

    SinkStream(const QAudioDevice &device, std::function<QByteArray()> wave, std::shared_ptr<RampedPcmDevice> pcm,
               int bufferBytes, std::shared_ptr<std::atomic<State>> state);
    ~SinkStream() override;

    // On the audio thread: synthesises the sound, opens the sink and starts feeding it. A file
    // that is not ours, or a sink the sound server refuses, ends the stream at once.
    void start();

    // Puts a thread of this process (0: the calling one) at the lowest realtime priority, below
    // the sound server's own, where the system allows it (a realtime limit, or root); elsewhere
    // it stays as it is. Its children start at normal priority.
    static void raiseToRealtime(int thread);

private:
    void feed();
    void windDown();

    QAudioDevice m_device;
    std::function<QByteArray()> m_wave;
    std::shared_ptr<RampedPcmDevice> m_pcm;
    const int m_bufferBytes;
    std::shared_ptr<std::atomic<State>> m_state;
    QAudioSink *m_sink = nullptr;
    QIODevice *m_out = nullptr;
    QTimer m_feed;
    QByteArray m_chunk;
};

} // namespace zorvik
