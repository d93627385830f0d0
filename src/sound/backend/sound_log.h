#pragma once

#include <QLoggingCategory>

// What the sound does and why it stays silent: lost servers, refused streams, buffer sizes.
// Silent by default; QT_LOGGING_RULES="zorvik.sound.info=true" shows it.
Q_DECLARE_LOGGING_CATEGORY(soundLog)
