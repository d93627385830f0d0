// Run by CTest with PULSE_SERVER pointing at a socket that does not exist: no sound server.
#include "fakes.h"
#include "platform/sink_audio_output.h"
#include "sound/rolling_audio.h"

#include <QtTest>

using namespace zorvik;

class TestSoundRefusal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariable("PULSE_SERVER").contains(QStringLiteral("zorvik-no-server")))
            QSKIP("run by CTest with PULSE_SERVER pointing nowhere");
    }

    void refusesWithoutAServerAndSpinsRunSilently()
    {
        QVERIFY(!SinkAudioOutput::shared().createPlayer(RollingAudio::wave(1.0)));
        testing::MemorySettings settings;
        RollingAudio audio(settings, SinkAudioOutput::shared());
        for (double duration : {0.1, 1.0, 6.2}) {
            audio.play(duration);
            audio.setMuted(true);
            audio.setVolume(0.5);
            audio.stop();
            audio.stop();
        }
        QTest::qWait(50); // nothing is left behind that fires later
    }
};

QTEST_GUILESS_MAIN(TestSoundRefusal)
#include "tst_sound_refusal.moc"
