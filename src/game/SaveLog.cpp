#include "game/SaveLog.h"

namespace pipfield {

Q_LOGGING_CATEGORY(lcSave, "pipfield.save")

} // namespace pipfield
