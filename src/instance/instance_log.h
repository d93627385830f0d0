#pragma once

#include <QLoggingCategory>

// Diagnostics of this folder, silent unless switched on: QT_LOGGING_RULES="zorvik.instance=true".
namespace zorvik {
Q_DECLARE_LOGGING_CATEGORY(lcInstance)
}
