#include "platform/SleepWatcher.h"

#include "platform/Logging.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <utility>

namespace pipfield {
namespace {

const char* const kService = "org.freedesktop.login1";
const char* const kPath = "/org/freedesktop/login1";
const char* const kInterface = "org.freedesktop.login1.Manager";

} // namespace

SleepWatcher::SleepWatcher(QString reason, QObject* parent) : QObject(parent), m_reason(std::move(reason)) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qCWarning(lcDesktop) << "no system bus: the game is not saved before the computer sleeps";
        return;
    }
    bus.connect(kService, kPath, kInterface, "PrepareForSleep", this, SLOT(onPrepareForSleep(bool)));
    takeLock();
}

void SleepWatcher::takeLock() {
    // Asked without waiting (at start and on every resume): a logind that is slow to answer must
    // hold up neither the strip nor the game. The lock is kept when it comes.
    QDBusMessage inhibit = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep") << QStringLiteral("Pipfield") << m_reason << QStringLiteral("delay");
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(inhibit), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
        if (reply.isError()) {
            qCWarning(lcDesktop) << "no sleep delay lock from logind:" << reply.error().message();
            return;
        }
        m_lock = reply.value();
    });
}

void SleepWatcher::release() {
    m_lock = QDBusUnixFileDescriptor();
}

void SleepWatcher::onPrepareForSleep(bool sleeping) {
    if (sleeping) {
        Q_EMIT aboutToSleep();
        release();
    } else {
        takeLock(); // awake again: hold the delay for the next sleep
    }
}

} // namespace pipfield
