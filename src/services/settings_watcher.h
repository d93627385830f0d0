#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace zorvik {

class Settings;
class UserSettings;

// Follows the settings file for values written by another writer (another process, the user
// in an editor): when the file changes, the store reads it again and a changed "appearance"
// is announced. The file system reports the change, so nothing is polled; the file's
// directory is watched as well, since writers replace the file rather than rewrite it. The
// program's own writes change nothing that is announced, so they never come back as news.
class SettingsWatcher : public QObject {
    Q_OBJECT

public:
    SettingsWatcher(UserSettings &store, const Settings &settings, QObject *parent = nullptr);

signals:
    void appearanceChanged();

private:
    void watch();
    void reread();

    UserSettings &m_store;
    const Settings &m_settings;
    QString m_appearance;
    QFileSystemWatcher m_watcher;
    // A writer touches the directory several times (lock, temporary file, rename): one read
    // after the burst.
    QTimer m_settle;
};

} // namespace zorvik
