#include "platform/Logging.h"

namespace pipfield {

// A player's terminal shows warnings only, one line per failure; QT_LOGGING_RULES (for example
// "pipfield.desktop.debug=true") shows the rest.
Q_LOGGING_CATEGORY(lcDesktop, "pipfield.desktop", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNotify, "pipfield.notify", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLook, "pipfield.look", QtWarningMsg)

} // namespace pipfield
