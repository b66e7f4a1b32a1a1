#pragma once

#include <QLoggingCategory>

namespace pipfield {

/// The strip scene: paints and wake-ups at debug level, for measuring what the strip costs.
Q_DECLARE_LOGGING_CATEGORY(lcScene)

} // namespace pipfield
