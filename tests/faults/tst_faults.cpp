// Faults from outside: hand-edited or unreachable settings, a writer killed mid-write,
// nonsense pointer input, and a long run of spins.
#include "object_census.h"
#include "soak.h"

#include "platform/reduced_motion.h"
#include "services/user_settings.h"
#include "sound/rolling_audio.h"
#include "wheel/wheel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
#include <limits>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ObjectCensus::install();
    }

    void handEditedSoundSettings_data()
    {
        QTest::addColumn<QByteArray>("ini"); // null: a directory in the file's place
        QTest::addColumn<double>("volume");
        QTest::addColumn<bool>("muted");
        QTest::newRow("garbage lines around good ones")
            << QByteArray("this is not ini\n===\n= no key\n[General\n[General]\nsoundVolume=0.5\n;;;\n"
                          "no equals sign\nsoundMuted=true\n[]\n")
            << 0.5 << true;
        QTest::newRow("binary junk as the values")
            << QByteArray("[General]\nsoundVolume=\xff\xfe\x01\x02\nsoundMuted=\x80\x81\x82\n", 42) << 0.25 << false;
        QTest::newRow("lists instead of values")
            << QByteArray("[General]\nsoundVolume=0.5, 0.6\nsoundMuted=true, false\n") << 0.25 << false;
        QTest::newRow("byte array holding a number")
            << QByteArray("[General]\nsoundVolume=@ByteArray(0.4)\nsoundMuted=@ByteArray(true)\n") << 0.4 << true;
        // Not writable, even by root: the values live on in memory only.
        QTest::newRow("a directory in the file's place") << QByteArray() << 0.25 << false;
    }
    // Read what the file holds, then write through the same reader: the new values land in a
    // file that parses.
    void handEditedSoundSettings()
    {
        QFETCH(QByteArray, ini);
        QFETCH(double, volume);
        QFETCH(bool, muted);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Zorvik/zorvik.ini"_s);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QFile file(path);
        QVERIFY(ini.isNull() ? QDir().mkpath(path)
                             : QDir().mkpath(dir.filePath(u"Zorvik"_s)) && file.open(QIODevice::WriteOnly)
                                   && file.write(ini) == ini.size() && file.flush());

        UserSettings settings;
        RecordingAudioOutput output;
        Settings audioSettings{settings};
        RollingAudio audio(audioSettings, output);
        QCOMPARE(audio.volume(), volume);
        QCOMPARE(audio.muted(), muted);
        audio.setVolume(0.65);
        audio.setMuted(!muted);
        QCOMPARE(settings.lastWriteStored(), !ini.isNull());
        Settings otherSettings{settings};
        const RollingAudio other(otherSettings, output);
        QCOMPARE(other.volume(), 0.65);
        QCOMPARE(other.muted(), !muted);
        if (ini.isNull()) {
            QVERIFY(QFileInfo(path).isDir());
            return;
        }
        QSettings after(path, QSettings::IniFormat);
        QCOMPARE(after.status(), QSettings::NoError);
        QCOMPARE(after.value(u"soundVolume"_s).toString(), u"0.65"_s);
        QCOMPARE(after.value(u"soundMuted"_s).toString(), muted ? u"false"_s : u"true"_s);
    }

    // A writer killed with SIGKILL at random moments while it writes the sound settings: the
    // file always parses and holds whole values, and the next run can still write.
    void killedWhileWriting()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(u"Zorvik/zorvik.ini"_s);
        for (int round = 0; round < 20; ++round) {
            QProcess process;
            process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(QCoreApplication::applicationFilePath(), {u"--write"_s, dir.path()});
            QVERIFY2(process.waitForReadyRead(10000), "the writer did not start writing");
            QCOMPARE(process.readAll().trimmed(), QByteArray("ready"));
            QTest::qSleep(int(QRandomGenerator::global()->bounded(40)));
            process.kill(); // SIGKILL
            QVERIFY(process.waitForFinished(5000));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);

            // Every volume the writer writes ends in ".5" from 1.5 up; muted alternates.
            QSettings stored(ini, QSettings::IniFormat);
            QCOMPARE(stored.status(), QSettings::NoError);
            const QString volume = stored.value(u"soundVolume"_s).toString();
            const QString muted = stored.value(u"soundMuted"_s).toString();
            bool ok = false;
            QVERIFY2(volume.toDouble(&ok) >= 1.5 && ok && volume.endsWith(u".5"_s), qPrintable(volume));
            QVERIFY2(muted == u"true"_s || muted == u"false"_s, qPrintable(muted));
        }

        // A writer killed between creating the lock file and writing its owner into it leaves a
        // lock that names nobody: the next run must not wait for it to go stale.
        QFile lock(ini + u".lock"_s);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QElapsedTimer timer;
        timer.start();
        UserSettings settings;
        settings.setValue(u"soundVolume"_s, 0.3);
        QVERIFY(settings.lastWriteStored());
        QVERIFY2(timer.elapsed() < 5000, "an ownerless lock file held the write up");
        QSettings after(ini, QSettings::IniFormat);
        QCOMPARE(after.status(), QSettings::NoError);
        QCOMPARE(after.value(u"soundVolume"_s).toString(), u"0.3"_s);
    }

    // Pointer positions no real mouse sends reaching a Wheel: the game's angles stay finite,
    // and the wheel still spins and draws after.
    void nonsensePointerPositions_data()
    {
        QTest::addColumn<QPointF>("bad");
        QTest::newRow("NaN x") << QPointF(std::numeric_limits<double>::quiet_NaN(), 140);
        QTest::newRow("largest double") // infinite once scaled to the design space
            << QPointF(std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
        QTest::newRow("1e300") << QPointF(1e300, -1e300);
    }
    void nonsensePointerPositions()
    {
        QFETCH(QPointF, bad);
        Fakes fakes;
        Game game(fakes.services());
        ReducedMotion motion;
        Wheel wheel(game, motion);
        game.select(Bet::red);
        const auto finite = [&] {
            return std::isfinite(game.wheel()) && std::isfinite(game.ball()) && std::isfinite(game.radius());
        };
        const auto send = [&](QEvent::Type type, QPointF local) {
            QMouseEvent event(type, local, local, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
            QCoreApplication::sendEvent(&wheel, &event);
            return finite();
        };

        // A press at the bad place is not on the wheel; moves and a release after it do nothing.
        QVERIFY(send(QEvent::MouseButtonPress, bad) && send(QEvent::MouseMove, QPointF(200, 140))
                && send(QEvent::MouseButtonRelease, bad));
        QVERIFY(!game.spinning());

        // Bad samples in the middle of a real flick: ignored or taken as a direction.
        QVERIFY(send(QEvent::MouseButtonPress, QPointF(240, 140)));
        for (int k = 1; k <= 6; ++k) {
            fakes.clock.t += 0.01;
            QVERIFY(send(QEvent::MouseMove, QPointF(140 + 100 * std::cos(0.25 * k), 140 + 100 * std::sin(0.25 * k))));
            QVERIFY2(send(QEvent::MouseMove, bad), qPrintable(QString::number(game.wheel())));
        }
        fakes.clock.t += 0.01;
        QVERIFY(send(QEvent::MouseButtonRelease, bad));
        if (!game.spinning())
            game.start(7.0, false);
        fakes.clock.t += 60;
        fakes.ticker.fire();
        QVERIFY(finite() && !game.spinning() && game.result());
        QVERIFY(!wheel.grab().isNull());
    }

    // Two hundred spins in a row on stand-in services: one timer at most, no player left after
    // each spin, no QObject left behind, and memory that stays flat.
    void manySpins()
    {
        Fakes fakes;
        CountingAudioOutput output(fakes.output);
        const GameServices fakeServices = fakes.services();
        Game game(GameServices{fakeServices.clock, fakeServices.ticker, fakeServices.random, fakeServices.announcer,
                               fakeServices.settings, output});
        for (std::uint64_t i = 0; i < 37; ++i)
            fakes.random.words.push_back(ScriptedRandom::wordFor(i));

        constexpr int warmUp = 20, spins = 200; // caches and the allocator settle in the first spins
        long baseline = 0;
        qsizetype objects = 0;
        for (int round = 0; round < spins; ++round) {
            const int timers = spinWithFakes(game, fakes.clock, fakes.ticker, round);
            QVERIFY2(timers == 0 || timers == 1, qPrintable(QStringLiteral("spin %1: %2").arg(round).arg(timers)));
            QCOMPARE(fakes.ticker.liveTimers(), 0);
            QCOMPARE(output.alive, 0);
            fakes.output = RecordingAudioOutput(); // its logs would grow on their own
            if (round + 1 == warmUp) {
                baseline = residentKiB();
                objects = ObjectCensus::alive();
            }
        }
        const long grown = residentKiB() - baseline;
        QCOMPARE(output.mostAlive, 1);
        QCOMPARE(output.asked, spins);
        QCOMPARE(fakes.announcer.messages.size(), spins);
        QCOMPARE(ObjectCensus::alive(), objects);
        QVERIFY2(grown < 2048, qPrintable(QStringLiteral("RSS grew by %1 KiB").arg(grown)));
    }
};

// "tst_faults --write <config dir>" is the writer killedWhileWriting kills: it writes the sound
// settings through the program's own path as fast as it can. Every volume it writes ends in
// ".5" and the muted flag alternates, so a half-written value shows.
int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0) {
        QCoreApplication application(argc, argv);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromLocal8Bit(argv[2]));
        UserSettings settings;
        RecordingAudioOutput output;
        Settings audioSettings{settings};
        RollingAudio audio(audioSettings, output);
        for (long long i = 1;; ++i) {
            audio.setVolume(double(i) + 0.5);
            audio.setMuted(i % 2 == 0);
            if (i == 1) {
                std::puts("ready");
                std::fflush(stdout);
            }
        }
    }
    QApplication application(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_faults.moc"
