// Plays the rolling sound through a private PulseAudio server whose only sink is a null sink
// at the sound's own format (24 kHz mono s16le), records that sink's monitor with parec and
// checks what was really played: the samples, the volume, how fast muting and stopping act,
// and that losing the server mid-sound is survived.

#include "platform/settings_store.h"
#include "platform/sink_audio_output.h"
#include "platform/sink_audio_player.h"
#include "sound/rolling_audio.h"

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <cmath>
#include <vector>

using namespace zorvik;

namespace {

constexpr int rate = 24000;

class MemorySettings final : public SettingsStore {
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    void setValue(const QString &key, const QVariant &value) override { m_values.insert(key, value); }
    void remove(const QString &key) override { m_values.remove(key); }

private:
    QHash<QString, QVariant> m_values;
};

std::vector<qint16> samplesOf(const QByteArray &bytes, qsizetype from = 0)
{
    std::vector<qint16> out;
    out.reserve(size_t((bytes.size() - from) / 2));
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2)
        out.push_back(qint16(quint16(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8)));
    return out;
}

qsizetype firstNonZero(const std::vector<qint16> &s, qsizetype from = 0)
{
    for (qsizetype i = from; i < qsizetype(s.size()); ++i)
        if (s[size_t(i)] != 0)
            return i;
    return -1;
}

qsizetype lastNonZero(const std::vector<qint16> &s)
{
    for (qsizetype i = qsizetype(s.size()) - 1; i >= 0; --i)
        if (s[size_t(i)] != 0)
            return i;
    return -1;
}

double rms(const std::vector<qint16> &s, qsizetype from, qsizetype count)
{
    double sum = 0;
    for (qsizetype i = from; i < from + count; ++i)
        sum += double(s[size_t(i)]) * s[size_t(i)];
    return std::sqrt(sum / double(count));
}

// Children die with the test, even when it crashes.
void dieWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

} // namespace

class TestSoundPlayback : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void playsTheSynthesisedSamplesBitExact();
    void volumeScalesTheLevel_data();
    void volumeScalesTheLevel();
    void silencesWithinRampAndBuffer_data();
    void silencesWithinRampAndBuffer();
    void stallNearTheEndKeepsTheTail_data();
    void stallNearTheEndKeepsTheTail();
    void survivesLosingTheServer();

private:
    bool startServer();
    bool startRecorder();
    void stopAll();
    // Recorded samples from sample index `from` on.
    std::vector<qint16> recorded(qsizetype from) const { return samplesOf(m_recording, from * 2); }
    qsizetype recordedSamples() const { return m_recording.size() / 2; }
    // Steady-clock time (ms) at which the given recorded sample reached us.
    double arrivalMs(qsizetype sample) const;
    bool waitForSound(qsizetype from, qsizetype samplesAfterStart, int timeoutMs);
    static QString differences(const std::vector<qint16> &expected, const std::vector<qint16> &rec,
                               qsizetype offset);

    QTemporaryDir m_dir;
    QString m_socket;
    QProcessEnvironment m_env;
    QProcess m_server;
    QProcess m_recorder;
    QByteArray m_recording;
    std::vector<std::pair<qsizetype, double>> m_arrivals; // (bytes so far, ms)
    QElapsedTimer m_clock;
    MemorySettings m_settings;
};

void TestSoundPlayback::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
        QSKIP("needs pulseaudio, parec and pactl (Debian packages pulseaudio, pulseaudio-utils)");
    QVERIFY(m_dir.isValid());
    m_clock.start();

    // A world of its own: runtime, state and home (for the cookie) all in the temporary dir.
    const QString root = m_dir.path();
    m_socket = root + QStringLiteral("/pulse/native");
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
    m_env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), root + QStringLiteral("/pulse"));
    m_env.insert(QStringLiteral("PULSE_STATE_PATH"), root + QStringLiteral("/state"));
    m_env.insert(QStringLiteral("HOME"), root);
    m_env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + m_socket);
    // This process talks to the same server, and only to it (no autospawn either).
    qputenv("PULSE_SERVER", (QStringLiteral("unix:") + m_socket).toLocal8Bit());

    QVERIFY(startServer());
    QVERIFY(startRecorder());
}

void TestSoundPlayback::cleanupTestCase()
{
    stopAll();
}

void TestSoundPlayback::stopAll()
{
    for (QProcess *p : {&m_recorder, &m_server}) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
}

bool TestSoundPlayback::startServer()
{
    m_server.setProcessEnvironment(m_env);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.setStandardOutputFile(QProcess::nullDevice());
    dieWithParent(m_server);
    // As root the daemon needs --system=no to run per user; -n skips the system's default.pa.
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=no"),
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                    QStringLiteral("--use-pid-file=no"), QStringLiteral("--enable-memfd=no"),
                    QStringLiteral("--log-level=error"),
                    QStringLiteral("--load=module-null-sink sink_name=zorvik_null rate=24000 channels=1 "
                                   "format=s16le norewinds=1"),
                    QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + m_socket});
    if (!m_server.waitForStarted(5000))
        return false;

    // Ready when a client gets an answer.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        if (m_server.state() != QProcess::Running)
            return false;
        QProcess info;
        info.setProcessEnvironment(m_env);
        info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        if (info.waitForFinished(2000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0) {
            qInfo("sound server ready after %lld ms", waited.elapsed());
            return true;
        }
        QTest::qWait(20);
    }
    return false;
}

bool TestSoundPlayback::startRecorder()
{
    m_recording.clear();
    m_arrivals.clear();
    m_recorder.setProcessEnvironment(m_env);
    m_recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dieWithParent(m_recorder);
    disconnect(&m_recorder, nullptr, this, nullptr);
    connect(&m_recorder, &QProcess::readyReadStandardOutput, this, [this] {
        m_recording += m_recorder.readAllStandardOutput();
        m_arrivals.emplace_back(m_recording.size(), double(m_clock.nsecsElapsed()) / 1e6);
    });
    m_recorder.start(QStringLiteral("parec"),
                     {QStringLiteral("--device=zorvik_null.monitor"), QStringLiteral("--format=s16le"),
                      QStringLiteral("--rate=24000"), QStringLiteral("--channels=1"), QStringLiteral("--raw"),
                      QStringLiteral("--latency-msec=10")});
    if (!m_recorder.waitForStarted(5000))
        return false;
    // Streaming once the monitor's silence comes in.
    QElapsedTimer waited;
    waited.start();
    const bool streaming = QTest::qWaitFor([this] { return m_recording.size() >= 2 * 480; }, 10000);
    qInfo("recorder streaming after %lld ms", waited.elapsed());
    return streaming;
}

double TestSoundPlayback::arrivalMs(qsizetype sample) const
{
    const qsizetype byte = sample * 2 + 1;
    const auto it = std::lower_bound(m_arrivals.begin(), m_arrivals.end(), byte,
                                     [](const auto &a, qsizetype b) { return a.first < b; });
    return it == m_arrivals.end() ? -1.0 : it->second;
}

bool TestSoundPlayback::waitForSound(qsizetype from, qsizetype samplesAfterStart, int timeoutMs)
{
    // Runs between the sink's feeds, so it scans the raw bytes without copying them.
    qsizetype start = -1;
    qsizetype scanned = from * 2;
    return QTest::qWaitFor(
        [&] {
            for (; start < 0 && scanned + 1 < m_recording.size(); scanned += 2)
                if (m_recording[scanned] != 0 || m_recording[scanned + 1] != 0)
                    start = scanned / 2;
            return start >= 0 && recordedSamples() >= start + samplesAfterStart;
        },
        timeoutMs);
}

QString TestSoundPlayback::differences(const std::vector<qint16> &expected, const std::vector<qint16> &rec,
                                       qsizetype offset)
{
    qsizetype mismatches = 0;
    qsizetype first = -1;
    for (qsizetype i = 0; i < qsizetype(expected.size()); ++i) {
        if (offset + i >= qsizetype(rec.size()) || rec[size_t(offset + i)] != expected[size_t(i)]) {
            if (first < 0)
                first = i;
            ++mismatches;
        }
    }
    if (mismatches == 0)
        return {};
    return QStringLiteral("%1 samples differ, the first at %2 (%3 ms)")
        .arg(mismatches).arg(first).arg(first * 1000.0 / rate);
}

void TestSoundPlayback::playsTheSynthesisedSamplesBitExact()
{
    const std::vector<qint16> expected = samplesOf(RollingAudio::wave(1.0), 44);
    const qsizetype n = qsizetype(expected.size());
    QCOMPARE(n, qsizetype(rate));
    const qsizetype expectedStart = firstNonZero(expected);
    QVERIFY(expectedStart >= 0);

    RollingAudio audio(m_settings, SinkAudioOutput::shared());
    audio.setMuted(false);
    audio.setVolume(1.0);

    const qsizetype mark = recordedSamples();
    QElapsedTimer call;
    call.start();
    const double calledAt = double(m_clock.nsecsElapsed()) / 1e6;
    audio.play(1.0);
    qInfo("play(1.0) returned after %.2f ms (synthesis included)", double(call.nsecsElapsed()) / 1e6);

    // The whole second plus a quarter of a second of what follows it.
    QVERIFY2(waitForSound(mark, n + rate / 4, 5000), "the sound never reached the null sink");
    const auto rec = recorded(mark);
    const qsizetype offset = firstNonZero(rec) - expectedStart;
    QVERIFY(offset >= 0);
    qInfo("first sample heard %.1f ms after play() was called",
          arrivalMs(mark + offset + expectedStart) - calledAt - expectedStart * 1000.0 / rate);

    const QString diff = differences(expected, rec, offset);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    // It ends by itself and nothing follows it.
    for (qsizetype i = offset + n; i < offset + n + rate / 4; ++i)
        QCOMPARE(rec[size_t(i)], qint16(0));
}

void TestSoundPlayback::volumeScalesTheLevel_data()
{
    QTest::addColumn<double>("volume");
    QTest::addColumn<double>("gain");

    QTest::newRow("default volume") << 0.25 << 0.25;
    QTest::newRow("stored above one") << 1.5 << 1.0;
}

void TestSoundPlayback::volumeScalesTheLevel()
{
    QFETCH(double, volume);
    QFETCH(double, gain);

    const std::vector<qint16> full = samplesOf(RollingAudio::wave(1.0), 44);
    std::vector<qint16> expected(full.size());
    std::transform(full.begin(), full.end(), expected.begin(),
                   [gain](qint16 s) { return qint16(std::lround(s * gain)); });
    const qsizetype n = qsizetype(expected.size());
    const qsizetype expectedStart = firstNonZero(expected);

    RollingAudio audio(m_settings, SinkAudioOutput::shared());
    audio.setVolume(volume);
    const qsizetype mark = recordedSamples();
    QElapsedTimer call;
    call.start();
    const double calledAt = double(m_clock.nsecsElapsed()) / 1e6;
    audio.play(1.0);
    const double callMs = double(call.nsecsElapsed()) / 1e6;
    QVERIFY(waitForSound(mark, n + rate / 10, 5000));
    const auto rec = recorded(mark);
    const qsizetype offset = firstNonZero(rec) - expectedStart;
    QVERIFY(offset >= 0);
    qInfo("play(1.0) returned after %.2f ms, first sample heard after %.1f ms", callMs,
          arrivalMs(mark + offset + expectedStart) - calledAt - expectedStart * 1000.0 / rate);

    const double ratio = rms(rec, offset, n) / rms(full, 0, n);
    qInfo("level ratio %.5f for volume %.2f", ratio, volume);
    QVERIFY2(std::abs(ratio - gain) < 0.002 * std::max(gain, 0.25), qPrintable(QString::number(ratio)));
    // Per-sample gain at a steady volume: nothing but rounding between us and the sink.
    int worst = 0;
    for (qsizetype i = 0; i < n; ++i)
        worst = std::max(worst, std::abs(rec[size_t(offset + i)] - expected[size_t(i)]));
    QVERIFY2(worst <= 1, qPrintable(QString::number(worst)));
}

void TestSoundPlayback::silencesWithinRampAndBuffer_data()
{
    QTest::addColumn<bool>("byStop");
    QTest::newRow("muted mid-sound") << false;
    QTest::newRow("stopped mid-sound") << true;
}

void TestSoundPlayback::silencesWithinRampAndBuffer()
{
    QFETCH(bool, byStop);

    RollingAudio audio(m_settings, SinkAudioOutput::shared());
    audio.setMuted(false);
    audio.setVolume(1.0);
    const qsizetype mark = recordedSamples();
    audio.play(2.0);
    QVERIFY(waitForSound(mark, rate / 2, 5000)); // half a second in
    const double actedAt = double(m_clock.nsecsElapsed()) / 1e6;
    if (byStop)
        audio.stop();
    else
        audio.setMuted(true);
    QTest::qWait(700);

    const auto rec = recorded(mark);
    const qsizetype soundStart = firstNonZero(rec);
    const qsizetype last = lastNonZero(rec);
    QVERIFY(last > soundStart);
    // Well before the 2 s sound's end, and silent from there on.
    QVERIFY2(last - soundStart < rate, qPrintable(QString::number(last - soundStart)));
    const double silentAfterMs = arrivalMs(mark + last) - actedAt;
    qInfo("silent %.1f ms after %s", silentAfterMs, byStop ? "stop()" : "muting");
    // 40 ms of ramp, 100 ms of queued buffer, and a margin for the recorder and scheduling.
    QVERIFY2(silentAfterMs <= 40 + 100 + 60, qPrintable(QString::number(silentAfterMs)));

    // Faded, not cut: the last 5 ms before silence are far below the sound's own peaks.
    int peak = 0;
    for (qsizetype i = soundStart; i < last; ++i)
        peak = std::max(peak, std::abs(int(rec[size_t(i)])));
    int tail = 0;
    for (qsizetype i = last - rate / 200; i <= last; ++i)
        tail = std::max(tail, std::abs(int(rec[size_t(i)])));
    QVERIFY2(tail * 8 < peak, qPrintable(QStringLiteral("tail %1, peak %2").arg(tail).arg(peak)));
}

void TestSoundPlayback::stallNearTheEndKeepsTheTail_data()
{
    // How far into the 1 s sound the recording is when the stall begins; the sink has handed
    // over about 100 ms more than that.
    QTest::addColumn<int>("heardMs");
    QTest::newRow("820 ms") << 820;
    QTest::newRow("850 ms") << 850;
    QTest::newRow("870 ms") << 870;
}

void TestSoundPlayback::stallNearTheEndKeepsTheTail()
{
    QFETCH(int, heardMs);
    const std::vector<qint16> expected = samplesOf(RollingAudio::wave(1.0), 44);
    const qsizetype lastSound = lastNonZero(expected);
    QVERIFY(lastSound > rate / 2);

    RollingAudio audio(m_settings, SinkAudioOutput::shared());
    audio.setMuted(false);
    audio.setVolume(1.0);
    const qsizetype mark = recordedSamples();
    audio.play(1.0);
    QVERIFY(waitForSound(mark, rate * heardMs / 1000, 5000));
    // The main thread stalls for longer than the sink's buffer just before the end: the
    // stream runs dry, and only a short remainder is left to write afterwards.
    QThread::msleep(250);
    QTest::qWait(1000);

    // The end of the sound still comes out, in order, after the gap.
    const auto rec = recorded(mark);
    const auto tailBegin = expected.begin() + (lastSound - rate / 50);
    const auto tailEnd = expected.begin() + lastSound + 1;
    QVERIFY2(std::search(rec.begin(), rec.end(), tailBegin, tailEnd) != rec.end(),
             "the last 20 ms of the sound were never played");
}

void TestSoundPlayback::survivesLosingTheServer()
{
    RollingAudio audio(m_settings, SinkAudioOutput::shared());
    audio.setMuted(false);
    audio.setVolume(1.0);
    qsizetype mark = recordedSamples();
    audio.play(2.0);
    QVERIFY(waitForSound(mark, rate / 4, 5000));

    // The server vanishes mid-sound.
    ::kill(pid_t(m_server.processId()), SIGKILL);
    QVERIFY(m_server.waitForFinished(3000));
    m_recorder.kill();
    m_recorder.waitForFinished(3000);
    QTest::qWait(300);

    // While it is away, sounds are refused quietly and quickly.
    QElapsedTimer call;
    call.start();
    audio.play(1.0);
    qInfo("play(1.0) with the server gone returned after %.2f ms", double(call.nsecsElapsed()) / 1e6);
    audio.setMuted(true);
    audio.setMuted(false);
    audio.stop();
    QTest::qWait(100);

    // Back again: the next play works once the connection is re-established.
    QVERIFY(startServer());
    QVERIFY(startRecorder());
    QElapsedTimer recovering;
    recovering.start();
    const bool recovered = QTest::qWaitFor(
        [] {
            auto player = SinkAudioOutput::shared().createPlayer(RollingAudio::wave(0.1));
            if (!player)
                return false;
            player->setVolume(0.0f, 0.04);
            player->play();
            return static_cast<SinkAudioPlayer *>(player.get())->isPlaying();
        },
        15000);
    QVERIFY2(recovered, "no sound after the server came back");
    qInfo("playing again %lld ms after the server came back", recovering.elapsed());

    const std::vector<qint16> expected = samplesOf(RollingAudio::wave(1.0), 44);
    mark = recordedSamples();
    audio.play(1.0);
    QVERIFY(waitForSound(mark, qsizetype(expected.size()), 5000));
    const auto rec = recorded(mark);
    const qsizetype offset = firstNonZero(rec) - firstNonZero(expected);
    QVERIFY(offset >= 0);
    const QString diff = differences(expected, rec, offset);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

QTEST_GUILESS_MAIN(TestSoundPlayback)
#include "tst_sound_playback.moc"
