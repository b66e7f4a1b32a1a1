#include "game/ProcessLauncher.h"

#include <QFile>
#include <QProcess>

#include <csignal>
#include <sys/types.h>

namespace pipfield {

namespace {
// systemd-run and systemctl answer at once or not at all; the game must not hang at exit.
constexpr int kRunTimeoutMs = 5000;
} // namespace

int SystemProcessLauncher::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(kRunTimeoutMs)) {
        return -1;
    }
    if (!process.waitForFinished(kRunTimeoutMs)) {
        process.kill();
        process.waitForFinished(kRunTimeoutMs);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::optional<qint64> SystemProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        return std::nullopt;
    }
    return pid;
}

void SystemProcessLauncher::stop(qint64 pid, const QString& marker) {
    if (pid <= 1) {
        return;
    }
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly)) {
        return;
    }
    const QList<QByteArray> words = cmdline.readAll().split('\0');
    if (!words.contains(marker.toUtf8())) {
        return;
    }
    ::kill(static_cast<pid_t>(pid), SIGTERM);
}

} // namespace pipfield
