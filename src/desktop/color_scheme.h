#pragma once

#include "desktop/portal_settings.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

namespace zorvik {

// The desktop's preferred colour scheme, which the panel follows while its appearance setting
// is "system".
//
// Qt 6.5 answers this with QStyleHints::colorScheme() and QStyleHints::colorSchemeChanged();
// Qt 6.4 has neither, so this asks the XDG Settings portal ("org.freedesktop.appearance"
// "color-scheme": 0 no preference, 1 dark, 2 light) without blocking, gives it 2 s, follows its
// SettingChanged signal, and falls back to GNOME's gsettings key when there is no portal.
// Until an answer arrives, and whenever there is none, the preference is light.
class ColorScheme : public QObject {
    Q_OBJECT

public:
    enum class Preference { none, dark, light };

    // Idle until start().
    explicit ColorScheme(QObject *parent = nullptr);

    // Sends the portal read and subscribes to changes; returns at once. Safe to call again.
    void start();

    Preference preference() const { return m_preference; }
    bool prefersDark() const { return m_preference == Preference::dark; }
    // Dark or light where the desktop states a preference; none where it does not.
    std::optional<bool> statedDark() const
    {
        return m_preference == Preference::none ? std::nullopt : std::optional<bool>(prefersDark());
    }

    // The portal's value, plain (u) or wrapped (v(u), v(v(u))); none for anything that is not
    // an unsigned integer. Numbers other than 1 and 2 mean no preference.
    static std::optional<Preference> fromPortalValue(const QVariant &value);
    // The output of `gsettings get org.gnome.desktop.interface color-scheme`; none when it is
    // not one of the key's values (for example an error text).
    static std::optional<Preference> fromGsettings(const QString &output);

signals:
    void changed();

private:
    void readGsettings();
    // Emits changed() when the preference differs.
    void answer(std::optional<Preference> preference);

    PortalSettings m_portal;
    Preference m_preference = Preference::none;
};

} // namespace zorvik
