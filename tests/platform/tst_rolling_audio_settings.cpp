// The sound settings, kept in the user's INI file and written through at once.
#include "support/fakes.h"

#include "services/user_settings.h"
#include "sound/rolling_audio.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

namespace {

// A fresh INI settings location, holding the given text (unless null) as an earlier run left it.
struct StoredSettings {
    QTemporaryDir dir;

    explicit StoredSettings(const QByteArray &ini = {})
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QFile file(iniPath());
        if (!ini.isNull() && QDir(dir.path()).mkpath(u"Zorvik"_s) && file.open(QIODevice::WriteOnly))
            file.write("[General]\n" + ini + "\n");
    }
    QString iniPath() const { return dir.filePath(u"Zorvik/zorvik.ini"_s); }
    QString text() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

} // namespace

class TestRollingAudioSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // What an earlier run (or a hand edit) left in the file: all of it text.
    void stored_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<double>("volume");
        QTest::addColumn<bool>("muted");
        QTest::addColumn<float>("effective"); // the volume the player gets
        QTest::newRow("first run, no file") << QByteArray() << 0.25 << false << 0.25F;
        QTest::newRow("1.5 is kept, the player gets 1") << QByteArray("soundVolume=1.5") << 1.5 << false << 1.0F;
        QTest::newRow("-0.2 is kept, the player gets 0") << QByteArray("soundVolume=-0.2") << -0.2 << false << 0.0F;
        QTest::newRow("abc is no number") << QByteArray("soundVolume=abc") << 0.25 << false << 0.25F;
        QTest::newRow("nan gives silence") << QByteArray("soundVolume=nan") << std::nan("") << false << 0.0F;
        QTest::newRow("inf gives full volume") << QByteArray("soundVolume=inf") << HUGE_VAL << false << 1.0F;
        QTest::newRow("-inf gives silence") << QByteArray("soundVolume=-inf") << -HUGE_VAL << false << 0.0F;
        QTest::newRow("muted") << QByteArray("soundMuted=true\nsoundVolume=0.5") << 0.5 << true << 0.0F;
    }
    void stored()
    {
        QFETCH(QByteArray, ini);
        QFETCH(double, volume);
        QFETCH(bool, muted);
        QFETCH(float, effective);
        StoredSettings stored(ini);
        UserSettings settings;
        RecordingAudioOutput output;
        Settings audioSettings{settings};
        RollingAudio audio(audioSettings, output);
        QCOMPARE(audio.volume(), volume); // NaN compares equal to NaN here
        QCOMPARE(audio.muted(), muted);
        // Reading creates no player and writes nothing.
        QVERIFY(output.events.isEmpty());
        QCOMPARE(QFile::exists(stored.iniPath()), !ini.isNull());
        audio.play(1.0);
        QCOMPARE(output.volumes, std::vector<float>{effective});
        QCOMPARE(output.fades, std::vector<double>{0.04});
    }

    // Every assignment notifies, reaches the disk at once and re-applies the volume, even when
    // the value does not change; the next run reads what was written.
    void everyAssignmentIsWritten()
    {
        StoredSettings stored;
        UserSettings settings;
        RecordingAudioOutput output;
        Settings audioSettings{settings};
        RollingAudio audio(audioSettings, output);
        QSignalSpy changed(&audio, &RollingAudio::changed);
        audio.setVolume(0.25); // the values it already has
        audio.setMuted(false);
        QCOMPARE(changed.count(), 2);
        QVERIFY2(stored.text().contains(u"soundVolume=0.25"_s) && stored.text().contains(u"soundMuted=false"_s),
                 qPrintable(stored.text()));

        audio.play(1.0);
        audio.setMuted(false);
        audio.setVolume(0.8);
        QVERIFY(stored.text().contains(u"soundVolume=0.8"_s));
        audio.setVolume(1.5); // stored as it is; the player still gets at most 1
        audio.setMuted(true);
        QCOMPARE(changed.count(), 6);
        QCOMPARE(output.volumes, (std::vector<float>{0.25F, 0.25F, 0.8F, 1.0F, 0.0F}));
        QVERIFY(stored.text().contains(u"soundVolume=1.5"_s) && stored.text().contains(u"soundMuted=true"_s));

        UserSettings next;
        Settings againSettings{next};
        RollingAudio again(againSettings, output);
        QCOMPARE(again.volume(), 1.5);
        QVERIFY(again.muted());

        // Other settings (the appearance) go the same way, and so does their removal.
        settings.setValue(u"appearance"_s, u"dark"_s);
        QVERIFY(stored.text().contains(u"appearance=dark"_s));
        settings.remove(u"appearance"_s);
        QVERIFY(!settings.value(u"appearance"_s).isValid() && !stored.text().contains(u"appearance"_s));
        QVERIFY(settings.lastWriteStored());
    }

    // A directory that cannot be created (it would sit under a regular file, which stops root
    // too): nothing crashes, and the values live on in memory for every reader in the process.
    void unwritableDirectoryKeepsValues()
    {
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath(u"blocker"_s)).open(QIODevice::WriteOnly));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(u"blocker/config"_s));
        UserSettings settings;
        RecordingAudioOutput output;
        Settings audioSettings{settings};
        RollingAudio audio(audioSettings, output);
        audio.setVolume(0.6);
        audio.setMuted(true);
        QVERIFY(!settings.lastWriteStored());
        Settings otherSettings{settings};
        RollingAudio other(otherSettings, output);
        QCOMPARE(other.volume(), 0.6);
        QVERIFY(other.muted());
    }
};

QTEST_GUILESS_MAIN(TestRollingAudioSettings)
#include "tst_rolling_audio_settings.moc"
