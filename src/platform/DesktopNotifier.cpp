#include "platform/DesktopNotifier.h"

#include "platform/Logging.h"
#include "platform/NotificationHelper.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

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

QString DesktopNotifier::timerFile(const QString& identifier) const {
    return QDir(m_target.runtimeDir).filePath(unitName(identifier) + QStringLiteral(".timer"));
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
    send(request.title, request.body);
    Q_EMIT delivered(request);
}

void DesktopNotifier::show(const QString& title, const QString& body) {
    send(title, body);
}

void DesktopNotifier::send(const QString& title, const QString& body) {
    // Nothing waits for the answer; a notification the service does not take is lost, and said so.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notifyMessage(title, body)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (call->isError()) {
            qCWarning(lcNotify).noquote()
                << "the notification service did not show a notification:" << call->error().name()
                << call->error().message();
        }
    });
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
    // Only the holder that was given the request is withdrawn, and without waiting for it: a
    // machine without a user manager never hears of systemctl.
    QFile timer(timerFile(identifier));
    if (timer.exists()) {
        const QString unit = unitName(identifier);
        m_launcher.runInBackground(QStringLiteral("systemctl"),
                                   {QStringLiteral("--user"), QStringLiteral("stop"), unit + QStringLiteral(".timer"),
                                    unit + QStringLiteral(".service")});
        timer.remove();
    }
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
        noteSilence(QStringLiteral("there is no session bus"));
        QMetaObject::invokeMethod(
            this, [answer] { answer(true); }, Qt::QueuedConnection);
        return;
    }
    // Any answer means a service is there (or can be started by the bus) to show the notifications.
    const QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, answer](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError()) {
            noteSilence(w->error().name() + QLatin1Char(' ') + w->error().message());
        } else {
            m_silent = false;
        }
        answer(w->isError());
    });
}

void DesktopNotifier::noteSilence(const QString& reason) {
    // The status is asked again each time the settings are shown; the log says so once until a
    // service answers again.
    if (!m_silent) {
        qCWarning(lcNotify).noquote() << "no notification service answers, so none can be shown:" << reason;
    }
    m_silent = true;
}

void DesktopNotifier::handOff() {
    if (!m_pending) {
        return;
    }
    const NotificationRequest request = *m_pending;
    m_pending.reset();
    m_timer.stop();

    const double remaining = secondsBetween(m_clock.now(), m_due);
    // A request already due is delivered a second later.
    const auto delay = static_cast<qint64>(std::max(1.0, std::ceil(remaining)));
    const qint64 at = std::chrono::duration_cast<std::chrono::seconds>(
                          addSeconds(m_clock.now(), static_cast<double>(delay)).time_since_epoch())
                          .count();
    const QString unit = unitName(request.identifier);
    // A wall-clock time, not a delay: a delay counts monotonic time, which stands still while the
    // computer sleeps, and would deliver hours late after a night in suspend. A realtime timer
    // whose time passed during the sleep fires on waking.
    const QString calendar =
        QDateTime::fromSecsSinceEpoch(at, QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'"));
    QStringList systemdArguments{
        QStringLiteral("--user"),
        QStringLiteral("--collect"),
        QStringLiteral("--quiet"),
        QStringLiteral("--unit=") + unit,
        QStringLiteral("--on-calendar=") + calendar,
        QStringLiteral("--timer-property=AccuracySec=1s"),
        QStringLiteral("--timer-property=RemainAfterElapse=no"),
    };
    // The user manager's environment may lack the bus address of this session.
    if (const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS"); !address.isEmpty()) {
        systemdArguments << QStringLiteral("--setenv=DBUS_SESSION_BUS_ADDRESS=") + QString::fromLocal8Bit(address);
    }
    systemdArguments << QStringLiteral("--") << m_target.program
                     << helperArguments(request.title, request.body, std::nullopt);
    QDir().mkpath(m_target.runtimeDir);
    if (m_launcher.run(QStringLiteral("systemd-run"), systemdArguments) == 0) {
        // Remembered, so that the next run withdraws this timer and nothing else.
        QFile timer(timerFile(request.identifier));
        if (!timer.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            qCWarning(lcNotify) << "cannot remember the handed-off notification in" << timer.fileName();
        }
        return;
    }

    const std::optional<qint64> pid =
        m_launcher.startDetached(m_target.program, helperArguments(request.title, request.body, at));
    if (!pid) {
        qCWarning(lcNotify) << "neither a systemd timer nor a waiting helper took the crate-full notification";
        return;
    }
    QFile file(pidFile(request.identifier));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QByteArray::number(*pid)) < 0) {
        qCWarning(lcNotify) << "cannot remember the waiting helper in" << file.fileName();
    }
}

} // namespace pipfield
