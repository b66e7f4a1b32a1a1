#pragma once

#include <QLoggingCategory>

namespace pipfield {

/// Reading and writing the save file: a file set aside and why, a save refused or failed.
Q_DECLARE_LOGGING_CATEGORY(lcSave)

} // namespace pipfield
