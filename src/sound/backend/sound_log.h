#pragma once

#include <QLoggingCategory>

// What the sound does and why it stays silent: lost servers, refused streams, buffer sizes.
// Silent unless switched on: QT_LOGGING_RULES="zorvik.sound=true".
namespace zorvik {
Q_DECLARE_LOGGING_CATEGORY(lcSound)
}
