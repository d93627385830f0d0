// A writer killed with SIGKILL at random moments while it writes the sound settings: the
// file always parses and holds whole values, and the next run can still write.
#include "platform/user_settings.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/prctl.h>

#include <csignal>

using namespace zorvik;
using namespace Qt::StringLiterals;

class TestSettingsKill : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void killedWhileWriting()
    {
        const QString writer = QCoreApplication::applicationDirPath() + u"/settings_writer"_s;
        QVERIFY2(QFileInfo(writer).isExecutable(), qPrintable(writer));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ini = dir.filePath(u"Zorvik/zorvik.ini"_s);
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qInfo("seed %u", seed);

        for (int round = 0; round < 20; ++round) {
            QProcess process;
            process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(writer, {dir.path()});
            QVERIFY2(process.waitForReadyRead(10000), "the writer did not start writing");
            QCOMPARE(process.readAll().trimmed(), QByteArray("ready"));
            QTest::qSleep(int(random.bounded(40)));
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

        // The next run writes at once: a stale lock of a killed writer does not hold it up.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QElapsedTimer timer;
        timer.start();
        UserSettings settings;
        settings.setValue(u"soundVolume"_s, 0.3);
        QVERIFY(settings.lastWriteStored());
        QVERIFY2(timer.elapsed() < 5000, "a stale lock file held the write up");
        QSettings after(ini, QSettings::IniFormat);
        QCOMPARE(after.status(), QSettings::NoError);
        QCOMPARE(after.value(u"soundVolume"_s).toString(), u"0.3"_s);
    }
};

QTEST_GUILESS_MAIN(TestSettingsKill)
#include "tst_settings_kill.moc"
