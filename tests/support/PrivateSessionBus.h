#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace pipfield::test {

/// A dbus-daemon of the test's own with no services but the ones a test registers (nothing is
/// activated: the configuration names no service folders), so that tests never meet the
/// developer's session bus.
class PrivateSessionBus {
public:
    PrivateSessionBus() = default;
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
    ~PrivateSessionBus() {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    /// Starts the daemon and returns its address; empty when dbus-daemon cannot be run.
    QString start() {
        QFile config(m_dir.filePath("bus.conf"));
        if (!config.open(QIODevice::WriteOnly)) {
            return {};
        }
        config.write(QString::fromLatin1(kConfig).arg(m_dir.path()).toUtf8());
        config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                                                       QStringLiteral("--config-file=") + config.fileName()});
        if (!m_daemon.waitForStarted(10000)) {
            return {};
        }
        while (!m_daemon.canReadLine()) {
            if (!m_daemon.waitForReadyRead(10000)) {
                return {};
            }
        }
        return QString::fromUtf8(m_daemon.readLine().trimmed());
    }

    /// A folder that lives as long as the bus.
    const QTemporaryDir& dir() const { return m_dir; }

private:
    static constexpr const char* kConfig =
        R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

    QTemporaryDir m_dir;
    QProcess m_daemon;
};

} // namespace pipfield::test
