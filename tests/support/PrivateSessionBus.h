#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace pipfield::test {

/// A dbus-daemon of the test's own with no services but the ones a test registers (nothing is
/// activated: the configuration names no service folders), so that tests never meet the
/// developer's session bus.
class PrivateSessionBus {
public:
    ~PrivateSessionBus() {
        for (const QString& name : m_connections) {
            QDBusConnection::disconnectFromBus(name);
        }
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
        while (m_daemon.waitForStarted(10000) && !m_daemon.canReadLine()) {
            if (!m_daemon.waitForReadyRead(10000)) {
                return {};
            }
        }
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        return m_address;
    }

    /// A connection of its own to this bus, closed with the bus. Each has a name no other test has used: Qt
    /// hands out an existing connection again under a name it already knows.
    QDBusConnection connect(const QString& name) {
        static int made = 0;
        m_connections << name + QString::number(++made);
        return QDBusConnection::connectToBus(m_address, m_connections.back());
    }

private:
    // Any sender may own any name and reach any other; the daemon listens in the bus's own folder.
    static constexpr const char* kConfig =
        R"(<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth><policy context="default">
<allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>)";

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

/// Returns once every question sent so far on `bus` has been answered and handled: a bus answers in order, so a
/// later round trip comes back after them.
inline void settle(QDBusConnection bus) {
    bus.interface()->isServiceRegistered(QStringLiteral("org.example.Nobody"));
    QCoreApplication::processEvents();
}

} // namespace pipfield::test
