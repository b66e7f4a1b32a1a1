#include "scene/SceneLog.h"

namespace pipfield {

Q_LOGGING_CATEGORY(lcScene, "pipfield.scene", QtWarningMsg)

} // namespace pipfield
