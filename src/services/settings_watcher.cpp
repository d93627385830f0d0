#include "services/settings_watcher.h"

#include "services/settings.h"
#include "services/user_settings.h"

#include <QDir>
#include <QFileInfo>

namespace zorvik {

SettingsWatcher::SettingsWatcher(UserSettings &store, const Settings &settings, QObject *parent)
    : QObject(parent), m_store(store), m_settings(settings), m_appearance(settings.appearance())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(30);
    connect(&m_settle, &QTimer::timeout, this, &SettingsWatcher::reread);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    watch();
}

void SettingsWatcher::watch()
{
    // The file, once it exists, and the nearest directory on its path that exists: until the
    // first write there may be neither file nor directory.
    const QFileInfo file(m_store.fileName());
    QStringList paths;
    if (file.exists())
        paths << file.absoluteFilePath();
    for (QDir dir = file.absoluteDir();; ) {
        if (dir.exists()) {
            paths << dir.absolutePath();
            break;
        }
        if (!dir.cdUp())
            break;
    }
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    for (const QString &path : watched)
        if (!paths.contains(path))
            m_watcher.removePath(path);
    for (const QString &path : paths)
        if (!watched.contains(path))
            m_watcher.addPath(path);
}

void SettingsWatcher::reread()
{
    // A replaced file is a new file to the watcher.
    watch();
    m_store.reload();
    const QString appearance = m_settings.appearance();
    if (appearance == m_appearance)
        return;
    m_appearance = appearance;
    emit appearanceChanged();
}

} // namespace zorvik
