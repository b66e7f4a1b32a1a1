#pragma once

#include "game/ProcessLauncher.h"

namespace pipfield {

/// Runs real processes.
class SystemProcessLauncher final : public ProcessLauncher {
public:
    int run(const QString& program, const QStringList& arguments) override;
    void runInBackground(const QString& program, const QStringList& arguments) override;
    std::optional<qint64> startDetached(const QString& program, const QStringList& arguments) override;
    void stop(qint64 pid, const QString& marker) override;
};

} // namespace pipfield
