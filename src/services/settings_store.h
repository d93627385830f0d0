#pragma once

#include <QString>
#include <QVariant>

namespace zorvik {

// The user's settings: a persistent key-value store. value() is invalid for an absent key.
// Values written in an earlier process come back as text: readers parse them explicitly.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QVariant value(const QString &key) const = 0;
    // Written at once; a store that cannot be written keeps the value for this process only.
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    virtual void remove(const QString &key) = 0;
};

} // namespace zorvik
