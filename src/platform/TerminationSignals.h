#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace pipfield {

/// Turns SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C) into a Qt signal on the main thread,
/// so the game can save before it quits. Only one may exist.
class TerminationSignals final : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace pipfield
