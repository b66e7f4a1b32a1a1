#include "platform/SleepWatcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace pipfield {
namespace {

const char* const kService = "org.freedesktop.login1";
const char* const kPath = "/org/freedesktop/login1";
const char* const kInterface = "org.freedesktop.login1.Manager";

} // namespace

SleepWatcher::SleepWatcher(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    bus.connect(kService, kPath, kInterface, "PrepareForSleep", this, SLOT(onPrepareForSleep(bool)));
    takeLock();
}

void SleepWatcher::takeLock() {
    QDBusInterface manager(kService, kPath, kInterface, QDBusConnection::systemBus());
    if (!manager.isValid()) {
        return;
    }
    const QDBusReply<QDBusUnixFileDescriptor> reply = manager.call(
        "Inhibit", "sleep", "Pipfield", QCoreApplication::translate("pipfield", "과수원을 저장해요"), "delay");
    if (reply.isValid()) {
        m_lock = reply.value();
    }
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
