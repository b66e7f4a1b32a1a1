#pragma once

#include <QLoggingCategory>

namespace pipfield {

/// The desktop: X11 and Wayland, the strip's window, the session, sleep, signals and child processes.
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
/// Notifications: the service, its answers, and the hand-off of a pending one when the game ends.
Q_DECLARE_LOGGING_CATEGORY(lcNotify)
/// The desktop's look: dark appearance and reduced motion, from the settings portal or the desktop's files.
Q_DECLARE_LOGGING_CATEGORY(lcLook)

} // namespace pipfield
