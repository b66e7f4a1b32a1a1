#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>

#include <optional>

namespace pipfield {

/// The first argument that puts the program into its delivering mode.
inline constexpr const char* kDeliverNotificationArgument = "--pipfield-deliver-notification";

/// The org.freedesktop.Notifications.Notify call for one notification.
QDBusMessage notifyMessage(const QString& title, const QString& body);

/// The arguments of the delivering mode: deliver at `atUnixSeconds`, or at once when it is absent.
QStringList helperArguments(const QString& title, const QString& body, std::optional<qint64> atUnixSeconds);

/// When `arguments` (argv, program name first) ask for the delivering mode, waits until the wall
/// clock reaches the requested instant, sends the notification on the session bus and returns the
/// exit code; otherwise returns nothing at once. Needs a QCoreApplication.
std::optional<int> runNotificationHelper(const QStringList& arguments);

} // namespace pipfield
