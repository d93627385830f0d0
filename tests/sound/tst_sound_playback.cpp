// Plays the rolling sound through a private PulseAudio server whose only sink is a null sink at
// the sound's own format (24 kHz mono s16le), records its monitor with parec and checks what was
// really played: samples, level, how fast muting and stopping act, and losing the server.
#include "fakes.h"
#include "platform/loaded_audio_output.h"
#include "platform/sink_audio_output.h"
#include "platform/sink_audio_player.h"
#include "sound/rolling_audio.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/prctl.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <vector>

using namespace zorvik;

namespace {

constexpr int rate = 24000;
using Samples = std::vector<qint16>;

Samples samplesOf(const QByteArray &bytes, qsizetype from = 0)
{
    Samples out;
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2)
        out.push_back(qint16(quint16(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8)));
    return out;
}

Samples waveSamples(double duration, double gain = 1.0)
{
    Samples s = samplesOf(RollingAudio::wave(duration), 44);
    for (qint16 &v : s)
        v = qint16(std::lround(v * gain));
    return s;
}

qsizetype firstNonZero(const Samples &s)
{
    const auto it = std::find_if(s.begin(), s.end(), [](qint16 v) { return v != 0; });
    return it == s.end() ? -1 : it - s.begin();
}

qsizetype lastNonZero(const Samples &s)
{
    const auto it = std::find_if(s.rbegin(), s.rend(), [](qint16 v) { return v != 0; });
    return it == s.rend() ? -1 : s.rend() - it - 1;
}

double rms(const Samples &s, qsizetype count)
{
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i)
        sum += double(s[size_t(i)]) * s[size_t(i)];
    return std::sqrt(sum / double(count));
}

// Empty when `heard` starts with `expected`, each sample within `tolerance`.
QString differences(const Samples &expected, const Samples &heard, int tolerance)
{
    qsizetype mismatches = 0, first = -1;
    for (qsizetype i = 0; i < qsizetype(expected.size()); ++i) {
        if (i >= qsizetype(heard.size()) || std::abs(heard[size_t(i)] - expected[size_t(i)]) > tolerance) {
            first = first < 0 ? i : first;
            ++mismatches;
        }
    }
    return mismatches == 0 ? QString()
                           : QStringLiteral("%1 samples differ, the first at %2").arg(mismatches).arg(first);
}

} // namespace

class TestSoundPlayback : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pulseaudio", "parec", "pactl"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("needs pulseaudio, parec and pactl (Debian packages pulseaudio, pulseaudio-utils)");
        QVERIFY(m_dir.isValid());
        m_clock.start();
        // A world of its own: runtime, state and home (for the cookie) in the temporary directory;
        // this process talks to that server only (no autospawn either).
        const QString root = m_dir.path();
        m_socket = root + QStringLiteral("/pulse/native");
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
        m_env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), root + QStringLiteral("/pulse"));
        m_env.insert(QStringLiteral("PULSE_STATE_PATH"), root + QStringLiteral("/state"));
        m_env.insert(QStringLiteral("HOME"), root);
        m_env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + m_socket);
        qputenv("PULSE_SERVER", (QStringLiteral("unix:") + m_socket).toLocal8Bit());
        QVERIFY(startServer());
        QVERIFY(startRecorder());
    }

    void cleanupTestCase() { stopAll(); }

    void playsAtTheChosenLevel_data()
    {
        QTest::addColumn<double>("volume");
        QTest::addColumn<double>("gain");
        QTest::newRow("full volume, bit-exact") << 1.0 << 1.0;
        QTest::newRow("default volume") << 0.25 << 0.25;
        QTest::newRow("stored above one") << 1.5 << 1.0;
    }

    void playsAtTheChosenLevel()
    {
        QFETCH(double, volume);
        QFETCH(double, gain);
        const Samples expected = waveSamples(1.0, gain);
        const qsizetype n = qsizetype(expected.size());
        QCOMPARE(n, qsizetype(rate));

        // The program's own output: the audio module, loaded on this first sound.
        RollingAudio audio(m_settings, LoadedAudioOutput::shared());
        audio.setMuted(false);
        audio.setVolume(volume);
        const Samples heard = playOneSecond(audio, expected, rate / 4);
        QVERIFY2(!heard.empty(), "the sound never reached the null sink");
        // Per-sample gain at a steady volume: nothing but rounding between us and the sink.
        const QString diff = differences(expected, heard, gain == 1.0 ? 0 : 1);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        const double ratio = rms(heard, n) / rms(waveSamples(1.0), n);
        QVERIFY2(std::abs(ratio - gain) < 0.002 * std::max(gain, 0.25), qPrintable(QString::number(ratio)));
        // It ends by itself and nothing follows it.
        QVERIFY(std::all_of(heard.begin() + n, heard.begin() + n + rate / 4, [](qint16 v) { return v == 0; }));
    }

    void silencesWithinRampAndBuffer_data()
    {
        QTest::addColumn<bool>("byStop");
        QTest::newRow("muted mid-sound") << false;
        QTest::newRow("stopped mid-sound") << true;
    }

    void silencesWithinRampAndBuffer()
    {
        QFETCH(bool, byStop);
        RollingAudio audio(m_settings, SinkAudioOutput::shared());
        audio.setMuted(false);
        audio.setVolume(1.0);
        const qsizetype mark = recordedSamples();
        audio.play(2.0);
        QVERIFY(waitForSound(mark, rate / 2)); // half a second in
        const double actedAt = nowMs();
        if (byStop)
            audio.stop();
        else
            audio.setMuted(true);
        QTest::qWait(700);

        const Samples rec = samplesOf(m_recording, mark * 2);
        const qsizetype soundStart = firstNonZero(rec);
        const qsizetype last = lastNonZero(rec);
        QVERIFY(last > soundStart);
        // Well before the 2 s sound's end, and silent from there on.
        QVERIFY2(last - soundStart < rate, qPrintable(QString::number(last - soundStart)));
        // 40 ms of ramp, 100 ms of queued buffer, and a margin for the recorder and scheduling.
        const double silentAfterMs = arrivalMs(mark + last) - actedAt;
        QVERIFY2(silentAfterMs <= 40 + 100 + 60, qPrintable(QString::number(silentAfterMs)));
        // Faded, not cut: the last 5 ms before silence are far below the sound's own peaks.
        const auto peak = [&](qsizetype from, qsizetype to) {
            int p = 0;
            for (qsizetype i = from; i <= to; ++i)
                p = std::max(p, std::abs(int(rec[size_t(i)])));
            return p;
        };
        QVERIFY2(peak(last - rate / 200, last) * 8 < peak(soundStart, last - 1), "cut, not faded");
    }

    void survivesLosingTheServer()
    {
        RollingAudio audio(m_settings, SinkAudioOutput::shared());
        audio.setMuted(false);
        audio.setVolume(1.0);
        audio.play(2.0);
        QVERIFY(waitForSound(recordedSamples(), rate / 4));

        // The server vanishes mid-sound; while it is away, sounds are refused quietly.
        ::kill(pid_t(m_server.processId()), SIGKILL);
        QVERIFY(m_server.waitForFinished(3000));
        m_recorder.kill();
        m_recorder.waitForFinished(3000);
        QTest::qWait(300);
        audio.play(1.0);
        audio.setMuted(true);
        audio.setMuted(false);
        audio.stop();
        QTest::qWait(100);

        // Back again: the next play works once the connection is re-established.
        QVERIFY(startServer());
        QVERIFY(startRecorder());
        QVERIFY2(QTest::qWaitFor(
                     [] {
                         auto player = SinkAudioOutput::shared().createPlayer(RollingAudio::wave(0.1));
                         if (!player)
                             return false;
                         player->setVolume(0.0f, 0.04);
                         player->play();
                         return static_cast<SinkAudioPlayer *>(player.get())->isPlaying();
                     },
                     15000),
                 "no sound after the server came back");
        const Samples expected = waveSamples(1.0);
        const Samples heard = playOneSecond(audio, expected, 0);
        QVERIFY(!heard.empty());
        const QString diff = differences(expected, heard, 0);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

private:
    void stopAll()
    {
        for (QProcess *p : {&m_recorder, &m_server}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    QProcess *startProcess(QProcess &p, const QString &program, const QStringList &args)
    {
        p.setProcessEnvironment(m_env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }); // dies with the test
        p.start(program, args);
        return p.waitForStarted(5000) ? &p : nullptr;
    }

    bool startServer()
    {
        m_server.setStandardOutputFile(QProcess::nullDevice());
        // As root the daemon needs --system=no to run per user; -n skips the system's default.pa.
        QStringList args = QStringLiteral("-n --daemonize=no --system=no --exit-idle-time=-1 --disallow-exit "
                                          "--use-pid-file=no --enable-memfd=no --log-level=error")
                               .split(u' ');
        args << QStringLiteral("--load=module-null-sink sink_name=zorvik_null rate=24000 channels=1 format=s16le "
                               "norewinds=1")
             << QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + m_socket;
        if (!startProcess(m_server, QStringLiteral("pulseaudio"), args))
            return false;
        // Ready when a client gets an answer.
        return QTest::qWaitFor(
            [this] {
                QProcess info;
                info.setProcessEnvironment(m_env);
                info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
                return m_server.state() == QProcess::Running && info.waitForFinished(2000)
                    && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0;
            },
            10000);
    }

    bool startRecorder()
    {
        m_recording.clear();
        m_arrivals.clear();
        disconnect(&m_recorder, nullptr, this, nullptr);
        connect(&m_recorder, &QProcess::readyReadStandardOutput, this, [this] {
            m_recording += m_recorder.readAllStandardOutput();
            m_arrivals.emplace_back(m_recording.size(), nowMs());
        });
        const QStringList args = QStringLiteral("--device=zorvik_null.monitor --format=s16le --rate=24000 "
                                                "--channels=1 --raw --latency-msec=10")
                                     .split(u' ');
        // Streaming once the monitor's silence comes in.
        return startProcess(m_recorder, QStringLiteral("parec"), args)
            && QTest::qWaitFor([this] { return m_recording.size() >= 2 * 480; }, 10000);
    }

    // Steady-clock time (ms) at which the given recorded sample reached us.
    double arrivalMs(qsizetype sample) const
    {
        const auto it = std::lower_bound(m_arrivals.begin(), m_arrivals.end(), sample * 2 + 1,
                                         [](const auto &a, qsizetype b) { return a.first < b; });
        return it == m_arrivals.end() ? -1.0 : it->second;
    }

    // Waits until sound has started after sample `from` and `after` more samples are recorded.
    bool waitForSound(qsizetype from, qsizetype after)
    {
        // Runs between the sink's feeds, so it scans the raw bytes without copying them.
        qsizetype start = -1;
        qsizetype scanned = from * 2;
        return QTest::qWaitFor(
            [&] {
                for (; start < 0 && scanned + 1 < m_recording.size(); scanned += 2)
                    if (m_recording[scanned] != 0 || m_recording[scanned + 1] != 0)
                        start = scanned / 2;
                return start >= 0 && recordedSamples() >= start + after;
            },
            5000);
    }

    // Plays 1 s and returns what the sink played from where `expected` starts on (empty if nothing).
    Samples playOneSecond(RollingAudio &audio, const Samples &expected, qsizetype extra)
    {
        const qsizetype mark = recordedSamples();
        audio.play(1.0);
        if (!waitForSound(mark, qsizetype(expected.size()) + extra))
            return {};
        const Samples rec = samplesOf(m_recording, mark * 2);
        const qsizetype offset = firstNonZero(rec) - firstNonZero(expected);
        return offset < 0 ? Samples() : Samples(rec.begin() + offset, rec.end());
    }

    qsizetype recordedSamples() const { return m_recording.size() / 2; }
    double nowMs() const { return double(m_clock.nsecsElapsed()) / 1e6; }

    QTemporaryDir m_dir;
    QString m_socket;
    QProcessEnvironment m_env;
    QProcess m_server;
    QProcess m_recorder;
    QByteArray m_recording;
    std::vector<std::pair<qsizetype, double>> m_arrivals; // (bytes so far, ms)
    QElapsedTimer m_clock;
    testing::MemorySettings m_settings;
};

QTEST_GUILESS_MAIN(TestSoundPlayback)
#include "tst_sound_playback.moc"
