#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zorvik {

// KDE's global settings as KConfig keeps them in kdeglobals files, read directly where no
// settings portal passes them on.
namespace Kdeglobals {

// The files KDE would consult, most important first: $XDG_CONFIG_HOME (or ~/.config), then each of
// $XDG_CONFIG_DIRS (or /etc/xdg).
QStringList files();

// The AnimationDurationFactor of the [KDE] group in the text of one kdeglobals file, if it sets one.
std::optional<double> animationFactor(const QString &text);

// The factor of the first of those files that sets it.
std::optional<double> animationFactor(const QStringList &files);

} // namespace Kdeglobals
} // namespace zorvik
