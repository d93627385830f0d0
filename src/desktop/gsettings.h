#pragma once

#include <QString>

#include <functional>

class QObject;

namespace zorvik {

// GNOME's settings as the `gsettings` tool reads them, for desktops without a settings portal.
namespace Gsettings {

// Runs `gsettings get <schema> <key>` without waiting for it. `done` gets the trimmed output,
// or a null string when gsettings is missing, fails or takes longer than two seconds. The
// process belongs to `context`: when that goes first, `done` is never called.
void get(QObject *context, const QString &schema, const QString &key,
         std::function<void(const QString &output)> done);

} // namespace Gsettings
} // namespace zorvik
