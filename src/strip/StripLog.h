#pragma once

#include <QLoggingCategory>

namespace pipfield {

/// The strip on the desktop: what it cannot do on this desktop (hide over full-screen windows
/// without a window list).
Q_DECLARE_LOGGING_CATEGORY(lcStrip)

} // namespace pipfield
