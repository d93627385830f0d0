#include "sound/backend/sound_log.h"

Q_LOGGING_CATEGORY(soundLog, "zorvik.sound", QtWarningMsg)
