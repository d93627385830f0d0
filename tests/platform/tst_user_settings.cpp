#include "platform/user_settings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

class TestUserSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Every change is on disk before anything else happens, as another process would read it.
    void writesAtOnceToTheIniFile()
    {
        QTemporaryDir dir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        const auto fileText = [&] {
            QFile file(dir.filePath(u"Zorvik/zorvik.ini"_s));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        UserSettings settings;
        QVERIFY(!settings.value(u"soundVolume"_s).isValid());
        settings.setValue(u"soundVolume"_s, 0.8);
        settings.setValue(u"appearance"_s, u"dark"_s);
        QVERIFY(settings.lastWriteStored());
        for (const QString &line : {u"soundVolume=0.8"_s, u"appearance=dark"_s})
            QVERIFY2(fileText().contains(line), qPrintable(fileText()));

        settings.remove(u"appearance"_s);
        QVERIFY(!settings.value(u"appearance"_s).isValid());
        QVERIFY(!fileText().contains(u"appearance"_s));
    }
};

QTEST_GUILESS_MAIN(TestUserSettings)
#include "tst_user_settings.moc"
