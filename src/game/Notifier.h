#pragma once

#include <QString>

#include <functional>

namespace pipfield {

/// A local notification to show once, after a delay.
struct NotificationRequest {
    QString identifier;
    QString title;
    QString body;
    double delaySeconds = 0;

    bool operator==(const NotificationRequest&) const = default;
};

/// The desktop's notification service as the game needs it: one pending request per identifier
/// that survives the end of the program.
class Notifier {
public:
    virtual ~Notifier() = default;

    /// Plans a request; one already pending under the same identifier is replaced.
    virtual void add(const NotificationRequest& request) = 0;
    /// Shows a notification at once, beside any pending request (which it neither replaces nor delays).
    virtual void show(const QString& title, const QString& body) = 0;
    /// Withdraws the pending request with this identifier, wherever it is held (even by a helper left
    /// behind by an earlier run).
    virtual void remove(const QString& identifier) = 0;
    /// Asks the player's permission to show notifications, where the desktop has such a thing.
    virtual void requestAuthorization() = 0;
    /// Answers later, on the main thread, whether the player cannot receive notifications.
    virtual void queryDenied(std::function<void(bool denied)> answer) = 0;
    /// Gives the pending requests to something that outlives the program. Called when it ends.
    virtual void handOff() = 0;
};

/// Drops every request: for runs that must leave the player's pending notification alone, such as
/// drawing snapshots or measuring the scene.
class SilentNotifier final : public Notifier {
public:
    void add(const NotificationRequest&) override {}
    void show(const QString&, const QString&) override {}
    void remove(const QString&) override {}
    void requestAuthorization() override {}
    void queryDenied(std::function<void(bool denied)> answer) override { answer(false); }
    void handOff() override {}
};

} // namespace pipfield
