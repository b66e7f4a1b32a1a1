#include "platform/SystemProcessLauncher.h"

#include "platform/Logging.h"

#include <QFile>
#include <QProcess>

#include <csignal>
#include <sys/types.h>

namespace pipfield {

namespace {

// systemd-run and systemctl answer at once or not at all; the game must not hang at exit.
constexpr int kRunTimeoutMs = 5000;

// Nothing a command prints reaches the terminal: its lines go to the log, one each, visible at the
// information level when the command failed.
void logOutput(const QString& program, const QByteArray& output, bool failed) {
    for (const QByteArray& line : output.split('\n')) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QString text = program + QLatin1String(": ") + QString::fromLocal8Bit(line.trimmed());
        if (failed) {
            qCInfo(lcNotify).noquote() << text;
        } else {
            qCDebug(lcNotify).noquote() << text;
        }
    }
}

void prepare(QProcess& process) {
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
}

} // namespace

int SystemProcessLauncher::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    prepare(process);
    process.start(program, arguments);
    if (!process.waitForStarted(kRunTimeoutMs)) {
        qCDebug(lcNotify) << "could not run" << program << ":" << process.errorString();
        return -1;
    }
    if (!process.waitForFinished(kRunTimeoutMs)) {
        qCWarning(lcNotify) << program << "did not finish in time";
        process.kill();
        process.waitForFinished(kRunTimeoutMs);
        return -1;
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    logOutput(program, process.readAll(), code != 0);
    return code;
}

void SystemProcessLauncher::runInBackground(const QString& program, const QStringList& arguments) {
    auto* process = new QProcess;
    prepare(*process);
    // Background commands withdraw what may already be gone (a timer that fired and was collected
    // while the game was closed makes systemctl answer "not loaded"), so their failures are only
    // worth a debug line.
    QObject::connect(process, &QProcess::finished, process, [process, program](int code, QProcess::ExitStatus status) {
        const QByteArray output = process->readAll();
        if (status != QProcess::NormalExit || code != 0) {
            qCDebug(lcNotify).noquote() << program << "ended with exit code" << code << ":" << output.trimmed();
        }
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, program](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qCDebug(lcNotify) << "could not run" << program << ":" << process->errorString();
            process->deleteLater();
        }
    });
    process->start(program, arguments);
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
