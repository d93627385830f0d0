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
    // QSettings reports an unwritable file only through status(), and silently.
    m_lastWriteStored = m_settings.status() == QSettings::NoError;
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
