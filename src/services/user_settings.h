#pragma once

#include "services/settings_store.h"

#include <QHash>
#include <QSettings>

namespace zorvik {

// The settings of organisation "Zorvik", application "zorvik" (an INI file under the XDG
// config directory), synced on every write. When the file cannot be written the value lives
// on in memory for the rest of the process.
class UserSettings final : public SettingsStore {
public:
    UserSettings();

    QVariant value(const QString &key) const override;
    void setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;

    // False after a write that could not reach the disk.
    bool lastWriteStored() const { return m_lastWriteStored; }

    QString fileName() const { return m_settings.fileName(); }
    // Reads the file again if another writer changed it since (values are cached otherwise).
    void reload() { m_settings.sync(); }

private:
    void clearOwnerlessLock() const;

    mutable QSettings m_settings;
    QHash<QString, QVariant> m_unsaved;
    bool m_lastWriteStored = true;
};

} // namespace zorvik
