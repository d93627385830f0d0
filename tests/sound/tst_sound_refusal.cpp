// Run with PULSE_SERVER pointing at a socket that does not exist: no sound server at all.

#include "platform/settings_store.h"
#include "platform/sink_audio_output.h"
#include "sound/rolling_audio.h"

#include <QElapsedTimer>
#include <QHash>
#include <QtTest>

using namespace zorvik;

namespace {

class MemorySettings final : public SettingsStore {
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    void setValue(const QString &key, const QVariant &value) override { m_values.insert(key, value); }
    void remove(const QString &key) override { m_values.remove(key); }

private:
    QHash<QString, QVariant> m_values;
};

} // namespace

class TestSoundRefusal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void refusesWithoutAServer();
    void spinsRunSilently();
    void refusesDataThatIsNotOurWave_data();
    void refusesDataThatIsNotOurWave();
};

void TestSoundRefusal::initTestCase()
{
    if (!qEnvironmentVariable("PULSE_SERVER").contains(QStringLiteral("zorvik-no-server")))
        QSKIP("run by CTest with PULSE_SERVER pointing nowhere");
}

void TestSoundRefusal::refusesWithoutAServer()
{
    QElapsedTimer timer;
    timer.start();
    auto player = SinkAudioOutput::shared().createPlayer(RollingAudio::wave(1.0));
    qInfo("refused after %.2f ms (first contact, synthesis included)", double(timer.nsecsElapsed()) / 1e6);
    QVERIFY(!player);
}

void TestSoundRefusal::spinsRunSilently()
{
    MemorySettings settings;
    RollingAudio audio(settings, SinkAudioOutput::shared());
    for (double duration : {0.1, 1.0, 6.2}) {
        QElapsedTimer timer;
        timer.start();
        audio.play(duration);
        qInfo("play(%.1f) returned after %.2f ms", duration, double(timer.nsecsElapsed()) / 1e6);
        audio.setMuted(true);
        audio.setVolume(0.5);
        audio.stop();
        audio.stop();
    }
    QTest::qWait(50); // nothing is left behind that fires later
}

void TestSoundRefusal::refusesDataThatIsNotOurWave_data()
{
    QTest::addColumn<QByteArray>("wav");
    const QByteArray good = RollingAudio::wave(0.1);
    QByteArray stereo = good;
    stereo[22] = 2;
    QByteArray otherRate = good;
    otherRate[24] = char(0x44);
    otherRate[25] = char(0xac); // 44100
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated header") << good.left(40);
    QTest::newRow("not RIFF") << QByteArray(good).replace(0, 4, "RIFX");
    QTest::newRow("stereo") << stereo;
    QTest::newRow("44.1 kHz") << otherRate;
}

void TestSoundRefusal::refusesDataThatIsNotOurWave()
{
    QFETCH(QByteArray, wav);
    QVERIFY(!SinkAudioOutput::shared().createPlayer(wav));
}

QTEST_GUILESS_MAIN(TestSoundRefusal)
#include "tst_sound_refusal.moc"
