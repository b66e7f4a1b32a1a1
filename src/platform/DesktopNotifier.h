#pragma once

#include "game/Clock.h"
#include "game/Notifier.h"
#include "game/ProcessLauncher.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace pipfield {

/// Notifications through the freedesktop Notifications service on the session bus. While the program
/// runs, the pending request waits in a timer of its own; at exit it is handed to a transient systemd
/// user timer or, where no user manager answers, to a detached copy of the program that waits and
/// delivers (see NotificationHelper.h).
class DesktopNotifier final : public QObject, public Notifier {
    Q_OBJECT

public:
    struct HandOffTarget {
        /// The program that delivers a handed-off request (this program, in its helper mode).
        QString program;
        /// Where the id of a waiting helper process is remembered between runs.
        QString runtimeDir;

        /// This program's own file and $XDG_RUNTIME_DIR.
        static HandOffTarget forThisProgram();
    };

    DesktopNotifier(QDBusConnection bus, ProcessLauncher& launcher, const Clock& clock, HandOffTarget target,
                    QObject* parent = nullptr);

    void add(const NotificationRequest& request) override;
    void show(const QString& title, const QString& body) override;
    void remove(const QString& identifier) override;
    void requestAuthorization() override {}
    void queryDenied(std::function<void(bool denied)> answer) override;
    void handOff() override;

    /// The request waiting in this process, if any.
    const std::optional<NotificationRequest>& pending() const { return m_pending; }

    /// "pipfield-<identifier>": the systemd unit that holds a handed-off request.
    static QString unitName(const QString& identifier);

Q_SIGNALS:
    /// A request was passed to the notification service.
    void delivered(const NotificationRequest& request);

private:
    void armTimer();
    void fire();
    void send(const QString& title, const QString& body);
    void noteSilence(const QString& reason);
    void cancelHandedOff(const QString& identifier);
    QString pidFile(const QString& identifier) const;
    QString timerFile(const QString& identifier) const;

    QDBusConnection m_bus;
    ProcessLauncher& m_launcher;
    const Clock& m_clock;
    HandOffTarget m_target;
    QTimer m_timer;
    std::optional<NotificationRequest> m_pending;
    Instant m_due{};
    // A previous run may have left a handed-off request behind; the first removal withdraws it.
    bool m_handedOffMayExist = true;
    // The last status query found no service; said once until one answers.
    bool m_silent = false;
};

} // namespace pipfield
