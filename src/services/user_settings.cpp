#include "services/user_settings.h"

#include <QFile>
#include <QLockFile>

namespace zorvik {

UserSettings::UserSettings()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvik"),
                 QStringLiteral("zorvik"))
{
}


QVariant UserSettings::value(const QString &key) const
{
    const auto unsaved = m_unsaved.constFind(key);
    if (unsaved != m_unsaved.constEnd())
        return *unsaved;
    return m_settings.value(key);
}

// QSettings takes "<file>.lock" around every write and waits until it is free. A writer killed
// between creating that file and writing its process id into it leaves a lock that names no
// owner, which QLockFile only calls stale after 30 seconds: the next write would freeze the
// panel for that long. Such a lock belongs to nobody; take it away.
void UserSettings::clearOwnerlessLock() const
{
    const QString lockPath = m_settings.fileName() + QStringLiteral(".lock");
    if (!QFile::exists(lockPath))
        return;
    qint64 pid = 0;
    QString host;
    QString application;
    if (!QLockFile(lockPath).getLockInfo(&pid, &host, &application))
        QFile::remove(lockPath);
}

void UserSettings::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
    clearOwnerlessLock();
    m_settings.sync();
    // QSettings reports an unwritable file only through status(), and silently. The status
    // also keeps the first problem for good, one met while reading included (a hand-edited
    // file that did not parse, after which writes work again): on any problem ask a fresh
    // object on the same file, which tries the pending write again and reports only that.
    m_lastWriteStored = m_settings.status() == QSettings::NoError
                        || QSettings(m_settings.fileName(), QSettings::IniFormat).status() == QSettings::NoError;
    if (m_lastWriteStored)
        m_unsaved.remove(key);
    else
        m_unsaved.insert(key, value);
}

void UserSettings::remove(const QString &key)
{
    m_unsaved.remove(key);
    m_settings.remove(key);
    clearOwnerlessLock();
    m_settings.sync();
}

} // namespace zorvik
