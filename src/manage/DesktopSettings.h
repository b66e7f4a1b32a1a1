#pragma once

namespace pipfield {

/// Opens the notification page of the desktop's settings program, when one is installed.
void openDesktopNotificationSettings();

} // namespace pipfield
