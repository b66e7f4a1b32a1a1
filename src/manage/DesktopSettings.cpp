#include "manage/DesktopSettings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace pipfield {

void openDesktopNotificationSettings() {
    // Each desktop names its notification page differently; the first program present wins.
    const QList<QStringList> candidates = {
        {QStringLiteral("gnome-control-center"), QStringLiteral("notifications")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_notifications")},
        {QStringLiteral("systemsettings5"), QStringLiteral("kcm_notifications")},
        {QStringLiteral("xfce4-notifyd-config")},
        {QStringLiteral("cinnamon-settings"), QStringLiteral("notifications")},
        {QStringLiteral("mate-notification-properties")},
    };
    for (const QStringList& command : candidates) {
        const QString program = QStandardPaths::findExecutable(command.first());
        if (!program.isEmpty()) {
            QProcess::startDetached(program, command.mid(1));
            return;
        }
    }
}

} // namespace pipfield
