#include "platform/user_settings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {

// Points the user scope of INI settings at a fresh directory for the life of the object.
class ConfigDir {
public:
    explicit ConfigDir(const QString &path) { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path); }
    QString iniPath(const QString &base) const { return base + u"/Zorvik/zorvik.ini"_s; }
};

QString fileText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestUserSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writesAtOnceToTheIniFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ConfigDir config(dir.path());
        UserSettings settings;
        QVERIFY(!settings.value(u"soundVolume"_s).isValid());

        settings.setValue(u"soundVolume"_s, 0.8);
        settings.setValue(u"soundMuted"_s, true);
        settings.setValue(u"appearance"_s, u"dark"_s);
        QVERIFY(settings.lastWriteStored());

        // On disk before anything else happens, as another process would read it.
        const QString text = fileText(config.iniPath(dir.path()));
        QVERIFY2(text.contains(u"soundVolume=0.8"_s), qPrintable(text));
        QVERIFY2(text.contains(u"soundMuted=true"_s), qPrintable(text));
        QVERIFY2(text.contains(u"appearance=dark"_s), qPrintable(text));

        QSettings other(config.iniPath(dir.path()), QSettings::IniFormat);
        QCOMPARE(other.value(u"soundVolume"_s).toString().toDouble(), 0.8);

        settings.remove(u"appearance"_s);
        QVERIFY(!settings.value(u"appearance"_s).isValid());
        QVERIFY(!fileText(config.iniPath(dir.path())).contains(u"appearance"_s));
    }

    // A directory that cannot be created (it would sit under a regular file, which stops root
    // too): nothing reaches the disk, nothing crashes, and the value lives on in memory.
    void unwritableDirectoryKeepsTheValue()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile blocker(dir.filePath(u"blocker"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ConfigDir config(dir.filePath(u"blocker/config"_s));

        UserSettings settings;
        settings.setValue(u"soundVolume"_s, 0.7);
        QVERIFY(!settings.lastWriteStored());
        QCOMPARE(settings.value(u"soundVolume"_s).toDouble(), 0.7);
        settings.setValue(u"soundVolume"_s, 0.6);
        settings.setValue(u"soundMuted"_s, true);
        QCOMPARE(settings.value(u"soundVolume"_s).toDouble(), 0.6);
        QCOMPARE(settings.value(u"soundMuted"_s).toBool(), true);
        QVERIFY(!QFile::exists(config.iniPath(dir.filePath(u"blocker/config"_s))));
    }
};

QTEST_GUILESS_MAIN(TestUserSettings)
#include "tst_user_settings.moc"
