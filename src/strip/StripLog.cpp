#include "strip/StripLog.h"

namespace pipfield {

Q_LOGGING_CATEGORY(lcStrip, "pipfield.strip", QtWarningMsg)

} // namespace pipfield
