#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace pipfield {

/// Tells when a StatusNotifierItem tray host comes up on the session bus after the program started
/// while the icon shows in no tray. Qt chooses between such a host and an XEmbed tray once per
/// process, so only a new process can put the icon there.
class TrayHostWatcher final : public QObject {
    Q_OBJECT

public:
    /// `iconShown` answers whether the icon is in a tray now.
    TrayHostWatcher(QDBusConnection bus, std::function<bool()> iconShown, QObject* parent = nullptr);

    static constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";

Q_SIGNALS:
    /// A host is there and the icon is not in it.
    void hostAppeared();

private Q_SLOTS:
    void onHostRegistered();

private:
    QDBusConnection m_bus;
    std::function<bool()> m_iconShown;
};

} // namespace pipfield
