#pragma once

#include <QLoggingCategory>

// Diagnostics of this folder, silent unless switched on: QT_LOGGING_RULES="zorvik.desktop=true".
namespace zorvik {
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
}
