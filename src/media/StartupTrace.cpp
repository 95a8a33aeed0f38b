#include "media/StartupTrace.h"

namespace lexora {

Q_LOGGING_CATEGORY(lcStartup, "lexora.startup", QtWarningMsg)

} // namespace lexora
