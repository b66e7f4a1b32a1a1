#include "platform/DesktopLook.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
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

std::optional<QVariant> portalValue(const QString& group, const QString& key) {
    QDBusInterface settings(kPortal, kPortalPath, kSettings, QDBusConnection::sessionBus());
    if (!settings.isValid()) {
        return std::nullopt;
    }
    const QDBusReply<QVariant> reply = settings.call(QStringLiteral("Read"), group, key);
    if (!reply.isValid()) {
        return std::nullopt;
    }
    return unwrap(reply.value());
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
    read();
    QDBusConnection::sessionBus().connect(kPortal, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
                                          SLOT(onSettingChanged(QString, QString, QDBusVariant)));
}

void DesktopLook::read() {
    const std::optional<QVariant> animations =
        portalValue(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations"));
    if (animations) {
        m_reduceMotion = !animations->toBool();
    } else if (const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
               !gsettings.isEmpty()) {
        // Without a portal, GNOME-like desktops still answer through gsettings.
        QProcess process;
        process.start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                                  QStringLiteral("enable-animations")});
        if (process.waitForFinished(2000) && process.exitCode() == 0) {
            m_reduceMotion = process.readAllStandardOutput().trimmed() == "false";
        }
    }
    const QString kdeglobals =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    if (!kdeglobals.isEmpty() && kdeAnimationsOff(kdeglobals)) {
        m_reduceMotion = true;
    }
    if (const std::optional<QVariant> scheme =
            portalValue(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"))) {
        const uint value = scheme->toUInt();
        m_prefersDark = value == 1 ? std::optional<bool>(true) : value == 2 ? std::optional<bool>(false) : std::nullopt;
    }
}

void DesktopLook::onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
    const QVariant v = unwrap(value.variant());
    if (group == QLatin1String("org.gnome.desktop.interface") && key == QLatin1String("enable-animations")) {
        m_reduceMotion = !v.toBool();
    } else if (group == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme")) {
        const uint scheme = v.toUInt();
        m_prefersDark = scheme == 1   ? std::optional<bool>(true)
                        : scheme == 2 ? std::optional<bool>(false)
                                      : std::nullopt;
    } else {
        return;
    }
    Q_EMIT changed();
}

} // namespace pipfield
