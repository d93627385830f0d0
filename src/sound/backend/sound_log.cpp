#include "sound/backend/sound_log.h"

// Silent by default: a category that shows nothing below critical, and nothing here is critical.
namespace zorvik {
Q_LOGGING_CATEGORY(lcSound, "zorvik.sound", QtCriticalMsg)
}
