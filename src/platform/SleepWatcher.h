#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

namespace pipfield {

/// Tells when the computer is about to sleep, through logind. While the game runs it holds a delay
/// lock, so the system waits (briefly) for the save before it suspends.
class SleepWatcher final : public QObject {
    Q_OBJECT

public:
    /// `reason` is what the desktop shows, in the player's language, as the reason for the delay.
    explicit SleepWatcher(QString reason, QObject* parent = nullptr);

    /// Lets the suspend go on; called once the game has saved.
    void release();

Q_SIGNALS:
    void aboutToSleep();

private Q_SLOTS:
    void onPrepareForSleep(bool sleeping);

private:
    void takeLock();

    QDBusUnixFileDescriptor m_lock;
    QString m_reason;
};

} // namespace pipfield
