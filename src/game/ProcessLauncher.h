#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace pipfield {

/// Starts other programs; an interface so that tests can see the commands without running them.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    /// Runs a command to its end; its exit code, or -1 when it could not be run or took too long.
    /// What it prints goes to the program's log.
    virtual int run(const QString& program, const QStringList& arguments) = 0;
    /// Starts a command and returns at once; for withdrawals whose failure matters to nobody (it is
    /// logged at debug level), and whose output never reaches the terminal.
    virtual void runInBackground(const QString& program, const QStringList& arguments) = 0;
    /// Starts a process that outlives this one; its process id, or nothing when it could not start.
    virtual std::optional<qint64> startDetached(const QString& program, const QStringList& arguments) = 0;
    /// Terminates process `pid` only if its command line still contains `marker`, so that a process
    /// id reused since it was remembered is left alone.
    virtual void stop(qint64 pid, const QString& marker) = 0;
};

} // namespace pipfield
