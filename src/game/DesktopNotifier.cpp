#include "game/DesktopNotifier.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

#include "game/NotificationHelper.h"

namespace pipfield {

namespace {
// Timers count time on a clock that stops while the computer is suspended; waking at least this
// often and comparing with the wall clock keeps a long wait from ending hours late.
constexpr double kLongestWaitSeconds = 60;
} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, ProcessLauncher& launcher, const Clock& clock,
                                 HandOffTarget target, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_launcher(launcher), m_clock(clock), m_target(std::move(target)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &DesktopNotifier::fire);
}

DesktopNotifier::HandOffTarget DesktopNotifier::HandOffTarget::forThisProgram() {
    return {QCoreApplication::applicationFilePath(), QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)};
}

QString DesktopNotifier::unitName(const QString& identifier) {
    return QStringLiteral("pipfield-") + identifier;
}

QString DesktopNotifier::pidFile(const QString& identifier) const {
    return QDir(m_target.runtimeDir).filePath(unitName(identifier) + QStringLiteral(".pid"));
}

void DesktopNotifier::add(const NotificationRequest& request) {
    if (m_handedOffMayExist) {
        m_handedOffMayExist = false;
        cancelHandedOff(request.identifier);
    }
    m_pending = request;
    m_due = addSeconds(m_clock.now(), std::max(0.0, request.delaySeconds));
    armTimer();
}

void DesktopNotifier::armTimer() {
    const double remaining = std::clamp(secondsBetween(m_clock.now(), m_due), 0.0, kLongestWaitSeconds);
    m_timer.start(static_cast<int>(std::ceil(remaining * 1000)));
}

void DesktopNotifier::fire() {
    if (!m_pending) {
        return;
    }
    if (m_clock.now() < m_due) {
        armTimer();
        return;
    }
    const NotificationRequest request = *m_pending;
    m_pending.reset();
    // Errors of the service are not observed: a notification that cannot be shown is simply lost.
    m_bus.asyncCall(notifyMessage(request.title, request.body));
    Q_EMIT delivered(request);
}

void DesktopNotifier::show(const QString& title, const QString& body) {
    m_bus.asyncCall(notifyMessage(title, body));
}

void DesktopNotifier::remove(const QString& identifier) {
    if (m_pending && m_pending->identifier == identifier) {
        m_pending.reset();
        m_timer.stop();
    }
    if (m_handedOffMayExist) {
        m_handedOffMayExist = false;
        cancelHandedOff(identifier);
    }
}

void DesktopNotifier::cancelHandedOff(const QString& identifier) {
    const QString unit = unitName(identifier);
    m_launcher.run(QStringLiteral("systemctl"), {QStringLiteral("--user"), QStringLiteral("stop"),
                                                 unit + QStringLiteral(".timer"), unit + QStringLiteral(".service")});
    QFile file(pidFile(identifier));
    if (file.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const qint64 pid = file.readAll().trimmed().toLongLong(&ok);
        file.close();
        if (ok) {
            m_launcher.stop(pid, QString::fromLatin1(kDeliverNotificationArgument));
        }
        file.remove();
    }
}

void DesktopNotifier::queryDenied(std::function<void(bool denied)> answer) {
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [answer] { answer(true); }, Qt::QueuedConnection);
        return;
    }
    // Any answer means a service is there (or can be started by the bus) to show the notifications.
    const QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [answer](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        answer(w->isError());
    });
}

void DesktopNotifier::handOff() {
    if (!m_pending) {
        return;
    }
    const NotificationRequest request = *m_pending;
    m_pending.reset();
    m_timer.stop();

    const double remaining = secondsBetween(m_clock.now(), m_due);
    // systemd-run rejects a zero delay; a request already due is delivered a second later.
    const auto delay = static_cast<qint64>(std::max(1.0, std::ceil(remaining)));
    const QString unit = unitName(request.identifier);
    QStringList systemdArguments{
        QStringLiteral("--user"),
        QStringLiteral("--collect"),
        QStringLiteral("--quiet"),
        QStringLiteral("--unit=") + unit,
        QStringLiteral("--on-active=%1s").arg(delay),
        QStringLiteral("--timer-property=AccuracySec=1s"),
        QStringLiteral("--timer-property=RemainAfterElapse=no"),
    };
    // The user manager's environment may lack the bus address of this session.
    if (const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS"); !address.isEmpty()) {
        systemdArguments << QStringLiteral("--setenv=DBUS_SESSION_BUS_ADDRESS=") + QString::fromLocal8Bit(address);
    }
    systemdArguments << QStringLiteral("--") << m_target.program
                     << helperArguments(request.title, request.body, std::nullopt);
    if (m_launcher.run(QStringLiteral("systemd-run"), systemdArguments) == 0) {
        return;
    }

    const qint64 at = std::chrono::duration_cast<std::chrono::seconds>(
                          addSeconds(m_clock.now(), static_cast<double>(delay)).time_since_epoch())
                          .count();
    const std::optional<qint64> pid =
        m_launcher.startDetached(m_target.program, helperArguments(request.title, request.body, at));
    if (!pid) {
        return;
    }
    QDir().mkpath(m_target.runtimeDir);
    QFile file(pidFile(request.identifier));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QByteArray::number(*pid));
    }
}

} // namespace pipfield
