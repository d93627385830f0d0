#pragma once

#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include <optional>

namespace zorvik {

// The desktop's settings as the XDG desktop portal publishes them
// (org.freedesktop.portal.Settings on the session bus).
namespace PortalSettings {

inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
inline const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
inline const QString appearance = QStringLiteral("org.freedesktop.appearance");

// A Read(namespace, key) call. Read answers v, and the portals shipped with Debian 12 wrap the
// value once more (v(v(u))); newer ones offer ReadOne, which we do not need.
QDBusMessage readCall(const QString &nameSpace, const QString &key);

// The unsigned integer inside a reply or signal value, through any number of variant wrappers;
// none when the innermost value is not an integer.
std::optional<uint> unsignedValue(QVariant value);

} // namespace PortalSettings
} // namespace zorvik
