#include "sound/backend/sink_audio_output.h"
#include "sound/rolling_audio.h"
#include "support/fakes.h"

#include <QtTest>

using namespace zorvik;

class TestSoundRefusal : public QObject {
    Q_OBJECT

private slots:
    // No sound server: every sound is refused at once and the spin runs silently.
    void refusesWithoutAServerAndSpinsRunSilently()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/zorvik-no-server");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!SinkAudioOutput::shared().createPlayer([] { return RollingAudio::wave(1.0); }));
        testing::MemorySettings settings;
        Settings audioSettings{settings};
        RollingAudio audio(audioSettings, SinkAudioOutput::shared());
        for (double duration : {0.1, 1.0, 6.2}) {
            audio.play(duration);
            audio.setMuted(true);
            audio.setVolume(0.5);
            audio.stop();
            audio.stop();
        }
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QTest::qWait(50); // nothing is left behind that fires later
    }
};

QTEST_GUILESS_MAIN(TestSoundRefusal)
#include "tst_sound_refusal.moc"
