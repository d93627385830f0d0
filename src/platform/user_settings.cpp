#include "platform/user_settings.h"

namespace zorvik {

UserSettings::UserSettings()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvik"),
                 QStringLiteral("zorvik"))
{
}

UserSettings &UserSettings::shared()
{
    static UserSettings settings;
    return settings;
}

QVariant UserSettings::value(const QString &key) const
{
    const auto unsaved = m_unsaved.constFind(key);
    if (unsaved != m_unsaved.constEnd())
        return *unsaved;
    return m_settings.value(key);
}

void UserSettings::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
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
    m_settings.sync();
}

} // namespace zorvik
