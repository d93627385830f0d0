// Plays the rolling sound through a private PulseAudio server whose only sink is a null sink at
// the sound's own format (24 kHz mono s16le), records its monitor with parec and checks what was
// really played: samples, level, how fast muting and stopping act, and losing the server.
#include "sound/backend/sink_audio_output.h"
#include "sound/loaded_audio_output.h"
#include "sound/rolling_audio.h"
#include "support/fakes.h"

#include <QtTest>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>

using namespace zorvik;
using namespace Qt::StringLiterals;

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

qsizetype firstNonZero(const Samples &s)
{
    const auto it = std::find_if(s.begin(), s.end(), [](qint16 v) { return v != 0; });
    return it == s.end() ? -1 : it - s.begin();
}

// The 1 s sound's samples at the given gain.
Samples waveSamples(double gain)
{
    Samples s = samplesOf(RollingAudio::wave(1.0), 44);
    for (qint16 &v : s)
        v = qint16(std::lround(v * gain));
    return s;
}

// Where in `heard` the sound `expected` ends, or -1 when `heard` does not start with it, each
// sample within `tolerance`. Silence the server slipped in where a busy machine let the sink run
// dry is skipped; every sample of the sound must still be there, in order.
qsizetype endOf(const Samples &expected, const Samples &heard, int tolerance)
{
    qsizetype j = 0;
    for (const qint16 e : expected) {
        if (j < qsizetype(heard.size()) && std::abs(heard[j] - e) > tolerance && heard[j] == 0)
            while (j < qsizetype(heard.size()) && heard[j] == 0)
                ++j;
        if (j >= qsizetype(heard.size()) || std::abs(heard[j++] - e) > tolerance)
            return -1;
    }
    return j;
}

} // namespace

class TestSoundPlayback : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pulseaudio", "parec"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("needs pulseaudio and parec (Debian packages pulseaudio, pulseaudio-utils)");
        QVERIFY(m_dir.isValid());
        // A world of its own: runtime, state and home (for the cookie) in the temporary directory;
        // this process talks to that server only (no autospawn either).
        const QString root = m_dir.path();
        m_socket = root + u"/pulse/native"_s;
        m_env = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : {std::pair{u"XDG_RUNTIME_DIR"_s, root}, {u"HOME"_s, root},
                                          {u"PULSE_RUNTIME_PATH"_s, root + u"/pulse"_s},
                                          {u"PULSE_STATE_PATH"_s, root + u"/state"_s}, {u"PULSE_SERVER"_s, u"unix:"_s + m_socket}})
            m_env.insert(name, value);
        qputenv("PULSE_SERVER", m_env.value(u"PULSE_SERVER"_s).toLocal8Bit());
        connect(&m_recorder, &QProcess::readyReadStandardOutput, this,
                [this] { m_recording += m_recorder.readAllStandardOutput(); });
        QVERIFY(startServer() && startRecorder());
    }

    void init() { m_settings.values = {{u"soundVolume"_s, 1.0}}; } // not muted, full volume

    void cleanupTestCase()
    {
        for (QProcess *p : {&m_recorder, &m_server}) {
            p->kill();
            p->waitForFinished(3000);
        }
    }

    void playsAtTheChosenLevel_data()
    {
        QTest::addColumn<double>("volume");
        QTest::newRow("full volume, bit-exact") << 1.0;
        QTest::newRow("default volume") << 0.25;
    }
    void playsAtTheChosenLevel()
    {
        QFETCH(double, volume);
        // The program's own output: the audio module, loaded on this first sound.
        Settings audioSettings{m_settings};
        LoadedAudioOutput programOutput;
        RollingAudio audio(audioSettings, programOutput);
        audio.setVolume(volume);
        // Per-sample gain at a steady volume: nothing but rounding between us and the sink.
        const auto [heard, end] = playOneSecond(audio, waveSamples(volume), volume == 1.0 ? 0 : 1, rate / 4);
        QVERIFY(end > 0);
        // It ends by itself and nothing follows it.
        QVERIFY(std::all_of(heard.begin() + end, heard.end(), [](qint16 v) { return v == 0; }));
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
        Settings audioSettings{m_settings};
        RollingAudio audio(audioSettings, SinkAudioOutput::shared());
        const qsizetype mark = recordedSamples();
        audio.play(2.0);
        QVERIFY(waitForSound(mark, rate / 2)); // half a second in
        const qsizetype actedAt = recordedSamples() - mark;
        byStop ? audio.stop() : audio.setMuted(true);
        QTest::qWait(700);

        const Samples rec = samplesOf(m_recording, mark * 2);
        const qsizetype start = firstNonZero(rec);
        const qsizetype last = rec.rend() - std::find_if(rec.rbegin(), rec.rend(), [](qint16 v) { return v; }) - 1;
        // Well before the 2 s sound's end, and silent from there on: 40 ms of ramp, 100 ms of
        // queued buffer, and a margin for the recorder and scheduling.
        QVERIFY2(last > start && last - start < rate, qPrintable(QString::number(last - start)));
        const qsizetype silentAfterMs = (last - actedAt) * 1000 / rate;
        QVERIFY2(silentAfterMs <= 40 + 100 + 60, qPrintable(QString::number(silentAfterMs)));
        // Faded, not cut: the last 5 ms before silence are far below the sound's own peaks.
        const auto peak = [&](qsizetype from, qsizetype to) {
            const auto [lo, hi] = std::minmax_element(rec.begin() + from, rec.begin() + to + 1);
            return std::max(-int(*lo), int(*hi));
        };
        QVERIFY2(peak(last - rate / 200, last) * 8 < peak(start, last - 1), "cut, not faded");
    }

    // The server killed mid-sound: while there is none, sounds fail at once and quietly; once it
    // is back, the next sound plays. (The whole program with no server at all: tests/e2e.)
    void survivesLosingTheServer()
    {
        Settings audioSettings{m_settings};
        RollingAudio audio(audioSettings, SinkAudioOutput::shared());
        audio.play(2.0);
        QVERIFY(waitForSound(recordedSamples(), rate / 4));
        ::kill(pid_t(m_server.processId()), SIGKILL);
        QVERIFY(m_server.waitForFinished(3000));
        m_recorder.kill();
        m_recorder.waitForFinished(3000);
        QTest::qWait(300);

        QElapsedTimer clock;
        clock.start();
        for (double duration : {0.1, 6.2}) {
            audio.play(duration);
            audio.setMuted(true);
            audio.setMuted(false);
            audio.stop();
        }
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));

        QVERIFY(startServer() && startRecorder());
        QVERIFY2(QTest::qWaitFor([&] { return playOneSecond(audio, waveSamples(1.0), 0, 0).second > 0; }, 20000),
                 "no sound after the server came back");
    }

private:
    bool startProcess(QProcess &p, const QString &program, const QString &args)
    {
        p.setProcessEnvironment(m_env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }); // dies with the test
        p.start(program, args.split(u'|'));
        return p.waitForStarted(5000);
    }

    bool startServer()
    {
        m_server.setStandardOutputFile(QProcess::nullDevice());
        QFile::remove(m_socket); // the one a killed server left; the new one means it listens
        // As root the daemon needs --system=no to run per user; -n skips the system's default.pa.
        const QString args = u"-n|--daemonize=no|--system=no|--exit-idle-time=-1|--disallow-exit|--use-pid-file=no|"
                             u"--enable-memfd=no|--log-level=error|--load=module-null-sink sink_name=zorvik_null "
                             u"rate=24000 channels=1 format=s16le norewinds=1|"
                             u"--load=module-native-protocol-unix auth-anonymous=1 socket="_s
                             + m_socket;
        return startProcess(m_server, u"pulseaudio"_s, args)
            && QTest::qWaitFor([this] { return QFile::exists(m_socket); }, 10000);
    }

    bool startRecorder()
    {
        m_recording.clear();
        // Streaming once the monitor's silence comes in.
        return startProcess(m_recorder, u"parec"_s,
                            u"--device=zorvik_null.monitor|--format=s16le|--rate=24000|--channels=1|--raw|"
                            u"--latency-msec=10"_s)
            && QTest::qWaitFor([this] { return m_recording.size() >= 2 * 480; }, 10000);
    }

    // Waits until sound has started after sample `from` and `after` more samples are recorded.
    bool waitForSound(qsizetype from, qsizetype after)
    {
        return QTest::qWaitFor([&] {
            const qsizetype start = firstNonZero(samplesOf(m_recording, from * 2));
            return start >= 0 && recordedSamples() >= from + start + after;
        }, 5000);
    }

    // Plays 1 s and waits until the sink has played `expected` and `after` samples more; returns
    // what it played from where `expected` starts on, and where `expected` ends in that (or -1).
    std::pair<Samples, qsizetype> playOneSecond(RollingAudio &audio, const Samples &expected, int tolerance,
                                                qsizetype after)
    {
        const qsizetype mark = recordedSamples();
        audio.play(1.0);
        Samples heard;
        qsizetype end = -1;
        QTest::qWaitFor([&] {
            const Samples rec = samplesOf(m_recording, mark * 2);
            const qsizetype offset = firstNonZero(rec) - firstNonZero(expected);
            heard = offset < 0 ? Samples() : Samples(rec.begin() + offset, rec.end());
            end = endOf(expected, heard, tolerance);
            return end > 0 && qsizetype(heard.size()) >= end + after;
        }, 5000);
        return {heard, end};
    }

    qsizetype recordedSamples() const { return m_recording.size() / 2; }

    QTemporaryDir m_dir;
    QString m_socket;
    QProcessEnvironment m_env;
    QProcess m_server;
    QProcess m_recorder;
    QByteArray m_recording;
    testing::MemorySettings m_settings;
};

QTEST_GUILESS_MAIN(TestSoundPlayback)
#include "tst_sound_playback.moc"
