#pragma once

#include <QLoggingCategory>

namespace lexora {

// Timing marks of the start-up (the window on screen, the first picture drawn, the first voice
// started), for the start-up benchmark. Off unless Qt's logging rules switch "lexora.startup" on.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

} // namespace lexora
