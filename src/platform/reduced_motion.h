#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

namespace zorvik {

// The desktop's reduce-motion preference, read anew at every call.
//
// Qt has no API for this yet (neither 6.4 nor later versions expose the desktop's setting), so
// it is read from the desktop itself, in this order: the XDG Settings portal
// ("org.freedesktop.appearance" "reduced-motion", 1 = reduce; xdg-desktop-portal 1.21 and
// later), GNOME's "enable-animations" turned off, KDE's AnimationDurationFactor of 0. The first
// that asks to reduce decides; when none does, there is no preference.
class ReducedMotion {
public:
    static bool preferred();

    // One question each to the portal, GNOME and KDE: true when that source asks to reduce
    // motion. preferred() asks the desktop's real sources; tests pass their own.
    struct Sources {
        std::function<bool()> portal;
        std::function<bool()> gnome;
        std::function<bool()> kde;
    };
    static bool preferred(const Sources &sources);
    static Sources desktopSources();

    // The portal's "reduced-motion" value, plain or wrapped in variants: 1 reduces.
    static bool fromPortalValue(const QVariant &value);
    // The output of `gsettings get org.gnome.desktop.interface enable-animations`.
    static bool fromGsettings(const QString &output);
    // The text of a kdeglobals file: the AnimationDurationFactor of its [KDE] group, if any.
    static std::optional<double> animationFactor(const QString &kdeglobals);
    // The kdeglobals files KDE would consult, most important first: $XDG_CONFIG_HOME (or
    // ~/.config), then each of $XDG_CONFIG_DIRS (or /etc/xdg).
    static QStringList kdeglobalsFiles();
    // The first of those files that sets the factor decides; 0 reduces.
    static bool fromKdeglobalsFiles(const QStringList &files);
};

} // namespace zorvik
