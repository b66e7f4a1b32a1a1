#include "app/TrayHostWatcher.h"

#include <QDBusServiceWatcher>

namespace pipfield {

TrayHostWatcher::TrayHostWatcher(QDBusConnection bus, std::function<bool()> iconShown, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_iconShown(std::move(iconShown)) {
    if (!m_bus.isConnected()) {
        return;
    }
    // Both are only subscriptions: nothing here waits for an answer.
    auto* watcher = new QDBusServiceWatcher(QString::fromLatin1(kWatcherService), m_bus,
                                            QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayHostWatcher::onHostRegistered);
    // A watcher that runs already may get its first host later (a panel starting up).
    m_bus.connect(QString(), QStringLiteral("/StatusNotifierWatcher"), QString::fromLatin1(kWatcherService),
                  QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(onHostRegistered()));
}

void TrayHostWatcher::onHostRegistered() {
    if (!m_iconShown()) {
        Q_EMIT hostAppeared();
    }
}

} // namespace pipfield
