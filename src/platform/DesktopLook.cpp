#include "platform/DesktopLook.h"

#include "platform/Logging.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace pipfield {
namespace {

const char* const kPortal = "org.freedesktop.portal.Desktop";
const char* const kPortalPath = "/org/freedesktop/portal/desktop";
const char* const kSettings = "org.freedesktop.portal.Settings";

// The portal wraps each value in one more variant than the signature says.
QVariant unwrap(QVariant value) {
    while (value.canConvert<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value;
}

QDBusMessage portalRead(const QString& group, const QString& key) {
    QDBusMessage message = QDBusMessage::createMethodCall(kPortal, kPortalPath, kSettings, QStringLiteral("Read"));
    message << group << key;
    return message;
}

} // namespace

bool kdeAnimationsOff(const QString& kdeglobalsPath) {
    const QSettings kde(kdeglobalsPath, QSettings::IniFormat);
    const QVariant factor = kde.value(QStringLiteral("KDE/AnimationDurationFactor"));
    bool ok = false;
    const double value = factor.toDouble(&ok);
    return ok && value == 0.0;
}

DesktopLook::DesktopLook(QObject* parent) : QObject(parent) {
    const QString kdeglobals =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    m_kdeAnimationsOff = !kdeglobals.isEmpty() && kdeAnimationsOff(kdeglobals);
    m_reduceMotion = m_kdeAnimationsOff;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kPortal, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: a portal that is slow or never answers must not hold up the strip.
    // The answers are applied when they come, as changes.
    read(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations"),
         [this](const std::optional<QVariant>& value) {
             if (value) {
                 applyAnimations(value->toBool());
             } else {
                 readAnimationsFromGsettings();
             }
         });
    read(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
         [this](const std::optional<QVariant>& value) {
             if (value) {
                 applyColorScheme(value->toUInt());
             }
         });
}

void DesktopLook::read(const QString& group, const QString& key,
                       std::function<void(const std::optional<QVariant>&)> apply) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [apply] { apply(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(portalRead(group, key)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, group, key, apply = std::move(apply)](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QVariant> reply = *call;
                if (reply.isError()) {
                    reportUnread(group, key, reply.error());
                    apply(std::nullopt);
                } else {
                    apply(unwrap(reply.value()));
                }
            });
}

void DesktopLook::reportUnread(const QString& group, const QString& key, const QDBusError& error) {
    // A setting this desktop does not have is no failure. A portal that is missing or does not answer
    // fails every read alike, so it is told once.
    if (error.name() == QLatin1String("org.freedesktop.portal.Error.NotFound")) {
        qCDebug(lcLook) << "the settings portal has no" << group << key;
    } else if (error.type() == QDBusError::ServiceUnknown) {
        // Not installed on this desktop: nothing failed, there is only less to follow.
        qCInfo(lcLook) << "no settings portal, so the desktop's dark look and animation switch come from elsewhere";
    } else if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout ||
               error.type() == QDBusError::TimedOut ||
               error.name().startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn."))) {
        if (!m_portalFailureTold) {
            m_portalFailureTold = true;
            qCWarning(lcLook).noquote() << "no answer from the settings portal, so the desktop's dark look and"
                                        << "animation switch are not followed:" << error.name() << error.message();
        }
    } else {
        qCWarning(lcLook).noquote() << "cannot read the desktop setting" << group + QLatin1Char('.') + key << ":"
                                    << error.name() << error.message();
    }
}

void DesktopLook::readAnimationsFromGsettings() {
    // Without a portal, GNOME-like desktops still answer through gsettings; it runs on its own
    // and reports when done, never waited for.
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty()) {
        return;
    }
    auto* process = new QProcess(this);
    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status == QProcess::NormalExit && exitCode == 0) {
            applyAnimations(process->readAllStandardOutput().trimmed() != "false");
        } else {
            qCDebug(lcLook) << "gsettings gave no animation setting:" << process->readAllStandardError().trimmed();
        }
    });
    connect(process, &QProcess::errorOccurred, this, [process](QProcess::ProcessError) { process->deleteLater(); });
    process->start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                               QStringLiteral("enable-animations")});
}

void DesktopLook::applyAnimations(bool enabled) {
    const bool reduce = !enabled || m_kdeAnimationsOff;
    if (reduce != m_reduceMotion) {
        m_reduceMotion = reduce;
        Q_EMIT changed();
    }
}

void DesktopLook::applyColorScheme(uint scheme) {
    std::optional<bool> dark;
    switch (static_cast<PortalColorScheme>(scheme)) {
    case PortalColorScheme::preferDark:
        dark = true;
        break;
    case PortalColorScheme::preferLight:
        dark = false;
        break;
    case PortalColorScheme::noPreference:
        break;
    }
    if (dark != m_prefersDark) {
        m_prefersDark = dark;
        Q_EMIT changed();
    }
}

void DesktopLook::onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
    const QVariant v = unwrap(value.variant());
    if (group == QLatin1String("org.gnome.desktop.interface") && key == QLatin1String("enable-animations")) {
        applyAnimations(v.toBool());
    } else if (group == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme")) {
        applyColorScheme(v.toUInt());
    }
}

} // namespace pipfield
