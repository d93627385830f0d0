#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

class QDBusVariant;

namespace zorvik {

// Some of the desktop's settings as the XDG desktop portal publishes them
// (org.freedesktop.portal.Settings on the session bus), the one way both desktop preferences ask
// for them: each key read once without blocking, then followed through SettingChanged.
//
// A key the portal does not know is answered with an error and stays silent. When there is no
// portal to ask (no session bus, no portal, or none of the reads answered within two seconds)
// missing() says so once, and the owner reads the desktop's own tools and files instead.
class PortalSettings : public QObject {
    Q_OBJECT

public:
    struct Key {
        QString nameSpace;
        QString key;
    };

    // Idle until start().
    explicit PortalSettings(QList<Key> keys, QObject *parent = nullptr);

    // Sends the reads and subscribes to changes; returns at once. Safe to call again.
    void start();

    // The namespace of the appearance keys ("color-scheme", "reduced-motion").
    static const QString appearance;

    // The value inside any number of variant wrappers (bounded: a pathological value cannot keep
    // us here).
    static QVariant unwrapped(QVariant value);
    // The unsigned integer inside a value, through any wrappers; none when the innermost value is
    // not a non-negative integer.
    static std::optional<uint> unsignedValue(const QVariant &value);

signals:
    // The value of keys[index], unwrapped: the answer to its read, or a change. A read that
    // arrives after a change of the same key is dropped, being older.
    void valueChanged(int index, const QVariant &value);
    // No portal answers.
    void missing();

private slots:
    void settingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void readFinished(int index, bool answered, const QVariant &value);

    QList<Key> m_keys;
    std::vector<bool> m_changed; // a change has come for the key: its read no longer applies
    int m_pending = 0;
    bool m_started = false;
    bool m_answered = false;
};

} // namespace zorvik
