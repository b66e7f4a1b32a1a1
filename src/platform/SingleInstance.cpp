#include "platform/SingleInstance.h"

#include "platform/Logging.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace pipfield {
namespace {

constexpr char kReopen[] = "reopen\n";

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder), m_lock(std::make_unique<QLockFile>(folder + "/pipfield.lock")) {
    // A lock is stale only when its process is gone, however long a game has been running.
    m_lock->setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::standardFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        return runtime;
    }
    const QString fallback = QDir::tempPath() + "/pipfield-" + qEnvironmentVariable("USER", "user");
    QDir().mkpath(fallback);
    return fallback;
}

bool SingleInstance::claim() {
    QDir().mkpath(m_folder);
    const QString socketPath = m_folder + "/pipfield.socket";
    if (m_lock->tryLock(0)) {
        // A socket left by a killed instance would make listen() fail.
        QLocalServer::removeServer(socketPath);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        m_server.listen(socketPath);
        return true;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        // No lock can be made at all (a read-only or missing folder): no other game can hold one
        // either, and a game that never starts helps nobody, so this one runs without the guard.
        qCWarning(lcDesktop) << "cannot create the single-instance lock in" << m_folder
                             << (m_lock->error() == QLockFile::PermissionError ? "(no permission)" : "(unknown error)")
                             << "- running without it";
        m_unguarded = true;
        return true;
    }
    // The running instance may still be starting and not yet listening: keep trying for a while.
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 1000)))) {
            socket.write(kReopen);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return false;
        }
        if (m_lock->tryLock(100)) {
            // The other instance quit meanwhile: this one takes over.
            QLocalServer::removeServer(socketPath);
            m_server.listen(socketPath);
            return true;
        }
    }
    return false;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->readAll().contains("reopen")) {
                Q_EMIT reopenRequested();
            }
            socket->disconnectFromServer();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace pipfield
