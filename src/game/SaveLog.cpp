#include "game/SaveLog.h"

namespace pipfield {

Q_LOGGING_CATEGORY(lcSave, "pipfield.save", QtWarningMsg)

} // namespace pipfield
