#pragma once

#include "desktop/portal_settings.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

class QFileSystemWatcher;

namespace zorvik {

// The desktop's reduce-motion preference, read without blocking at start-up, kept current while
// the program runs, and answered from a cache: a flick's release never waits on the desktop.
//
// Qt has no API for this (neither 6.4 nor later versions expose the desktop's setting), so it is
// read from the desktop itself, three sources in this order, the first that answers deciding:
// the XDG Settings portal's "org.freedesktop.appearance" "reduced-motion" (1 = reduce;
// xdg-desktop-portal 1.21 and later), GNOME's "enable-animations" turned off, KDE's
// AnimationDurationFactor of 0. GNOME's and KDE's portals publish their own keys too, so with a
// portal all three arrive over D-Bus and follow SettingChanged. Without one, GNOME's key comes
// from the gsettings tool once and KDE's from kdeglobals, read again whenever the file changes.
// A portal that never answers counts as absent after two seconds; until then, and whenever no
// source answers, there is no preference.
class ReducedMotion : public QObject {
    Q_OBJECT

public:
    // Idle until start().
    explicit ReducedMotion(QObject *parent = nullptr);
    ~ReducedMotion() override;

    // Sends the portal reads and subscribes to changes; returns at once. Safe to call again.
    void start();

    // The cached answer.
    bool preferred() const;

    enum class Source { portal, gnome, kde };
    // Takes a source's newest answer (none: it has no say). Emits changed() when the
    // preference differs.
    void setAnswer(Source source, std::optional<bool> reduce);

    // The portal's "reduced-motion" value, plain or wrapped in variants: 1 reduces.
    static std::optional<bool> fromPortalValue(const QVariant &value);
    // GNOME's enable-animations as gsettings prints it, or as the portal sends it: false reduces.
    static std::optional<bool> fromGsettings(const QString &output);
    static std::optional<bool> fromGnomeValue(const QVariant &value);

signals:
    void changed();

private:
    void readFallbacks();
    void readKdeglobals();

    PortalSettings m_portal;
    std::optional<bool> m_answers[3];
    QFileSystemWatcher *m_kdeWatcher = nullptr; // once the fallbacks are read
};

} // namespace zorvik
