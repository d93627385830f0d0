// Settings files left in a bad state by hand, a crash or another program: the readers fall back
// to their defaults, nothing crashes, and later writes still land in a file that parses.
#include "fakes.h"

#include "platform/user_settings.h"
#include "sound/rolling_audio.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

namespace {

QString iniPathIn(const QString &dir)
{
    return dir + u"/Zorvik/zorvik.ini"_s;
}

// Puts the bytes where the settings of the user scope, pointed at dir, will find them.
bool useIni(const QString &dir, const QByteArray &bytes)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
    QDir().mkpath(dir + u"/Zorvik"_s);
    QFile file(iniPathIn(dir));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Random bytes; as lines, without what would make the INI reader join them with what follows
// (section brackets, quotes that run on, backslashes that continue the line).
QByteArray junk(int size, quint32 seed, bool lines = false)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes) {
        byte = char(random.bounded(256));
        if (lines && (byte == '[' || byte == '"' || byte == '\\'))
            byte = '#';
    }
    return lines ? bytes + '\n' : bytes;
}

} // namespace

class TestSettingsFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void handEditedSoundSettings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<double>("volume");
        QTest::addColumn<bool>("muted");
        QTest::newRow("garbage lines around good ones")
            << QByteArray("this is not ini\n===\n= no key\n[General\n[General]\nsoundVolume=0.5\n;;;\n"
                          "no equals sign\nsoundMuted=true\n[]\n")
            << 0.5 << true;
        QTest::newRow("binary junk before the section")
            << (junk(512, 7, true) + "[General]\nsoundVolume=0.6\nsoundMuted=true\n") << 0.6 << true;
        QTest::newRow("binary junk as the values")
            << QByteArray("[General]\nsoundVolume=\xff\xfe\x01\x02\nsoundMuted=\x80\x81\x82\n", 42) << 0.25 << false;
        QTest::newRow("NUL in the middle of a value")
            << QByteArray("[General]\nsoundVolume=0.\0005\nsoundMuted=tr\000ue\n", 42) << 0.25 << false;
        QTest::newRow("lists instead of values")
            << QByteArray("[General]\nsoundVolume=0.5, 0.6\nsoundMuted=true, false\n") << 0.25 << false;
        QTest::newRow("broken serialised variants")
            << QByteArray("[General]\nsoundVolume=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1zz)\nsoundMuted=@Variant(\\xff)\n")
            << 0.25 << false;
        QTest::newRow("byte array holding a number")
            << QByteArray("[General]\nsoundVolume=@ByteArray(0.4)\nsoundMuted=@ByteArray(true)\n") << 0.4 << true;
        QTest::newRow("muted as a number") << QByteArray("[General]\nsoundMuted=2\n") << 0.25 << true;
        QTest::newRow("muted as other words") << QByteArray("[General]\nsoundMuted=off\n") << 0.25 << false;
        QTest::newRow("a quarter megabyte of junk") << junk(256 * 1024, 11) << 0.25 << false;
    }
    // Read what the file holds, then write through the same reader: the new values land in a
    // file that parses.
    void handEditedSoundSettings()
    {
        QFETCH(QByteArray, ini);
        QFETCH(double, volume);
        QFETCH(bool, muted);
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && useIni(dir.path(), ini));

        UserSettings settings;
        RecordingAudioOutput output;
        RollingAudio audio(settings, output);
        QCOMPARE(audio.volume(), volume);
        QCOMPARE(audio.muted(), muted);
        audio.setVolume(0.65);
        audio.setMuted(!muted);
        QVERIFY(settings.lastWriteStored());
        QSettings after(iniPathIn(dir.path()), QSettings::IniFormat);
        QCOMPARE(after.status(), QSettings::NoError);
        QCOMPARE(after.value(u"soundVolume"_s).toString(), u"0.65"_s);
        QCOMPARE(after.value(u"soundMuted"_s).toString(), muted ? u"false"_s : u"true"_s);
    }

    // The settings file's place is taken by a directory, which root cannot write either: the
    // readers get their defaults, the values live on in memory, nothing reaches the disk.
    void iniPathIsADirectory()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && QDir().mkpath(iniPathIn(dir.path())));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());

        UserSettings settings;
        RecordingAudioOutput output;
        RollingAudio audio(settings, output);
        QCOMPARE(audio.volume(), 0.25);
        QCOMPARE(audio.muted(), false);
        audio.setVolume(0.7);
        audio.setMuted(true);
        QVERIFY(!settings.lastWriteStored());
        RollingAudio other(settings, output);
        QCOMPARE(other.volume(), 0.7);
        QCOMPARE(other.muted(), true);
        QVERIFY(QFileInfo(iniPathIn(dir.path())).isDir());
    }
};

QTEST_MAIN(TestSettingsFaults)
#include "tst_settings_faults.moc"
