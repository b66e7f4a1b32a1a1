#include <QApplication>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "app/PipfieldApp.h"
#include "app/Snapshot.h"
#include "game/NotificationHelper.h"
#include "model/Text.h"
#include "platform/Logging.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

int main(int argc, char** argv) {
    // Plain Wayland lets no client place a window at the screen's edge or keep it above others, so the
    // strip goes through XWayland; a player who chose a platform keeps that choice.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qgetenv("XDG_SESSION_TYPE") == "wayland") {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // A copy of the program that only waits to deliver a crate-full notification needs no windows.
    if (argc > 1 && std::strcmp(argv[1], pipfield::kDeliverNotificationArgument) == 0) {
        QCoreApplication helper(argc, argv);
        return pipfield::runNotificationHelper(QCoreApplication::arguments()).value_or(2);
    }

    // Snapshots draw off screen and show nothing, whatever display there is.
    const int snapshotAt = [&] {
        for (int i = 1; i + 1 < argc; ++i) {
            if (std::strcmp(argv[i], "--snapshot") == 0) {
                return i;
            }
        }
        return 0;
    }();
    if (snapshotAt != 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pipfield"));
    QApplication::setApplicationVersion(QStringLiteral(PIPFIELD_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pipfield"));
    // The game lives in the tray and the strip; closing the window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    pipfield::installTextLookup([](std::string_view korean) {
        const std::string key(korean);
        return QCoreApplication::translate("pipfield", key.c_str()).toStdString();
    });

    if (snapshotAt != 0) {
        return pipfield::writeSnapshots(QCoreApplication::arguments(), QString::fromLocal8Bit(argv[snapshotAt + 1]));
    }

    bool restart = false;
    int status = 0;
    {
        pipfield::SingleInstance instance(pipfield::SingleInstance::standardFolder());
        if (!instance.claim()) {
            return 0; // the running game was asked to show its window
        }
        pipfield::TerminationSignals termination;
        pipfield::PipfieldApp pipfield(QCoreApplication::arguments());
        QObject::connect(&instance, &pipfield::SingleInstance::reopenRequested, &pipfield,
                         &pipfield::PipfieldApp::reopen);
        QObject::connect(&termination, &pipfield::TerminationSignals::terminationRequested, &pipfield,
                         [&pipfield](int signalNumber) {
                             qCDebug(lcDesktop) << "ending on signal" << signalNumber;
                             pipfield.quit();
                         });
        QObject::connect(&pipfield, &pipfield::PipfieldApp::restartRequested, &pipfield, [&restart] {
            restart = true;
            QApplication::quit();
        });
        QTimer::singleShot(0, &pipfield, &pipfield::PipfieldApp::finishLaunching);
        status = QApplication::exec();
    } // the single-instance lock is given up here, for the new process to take
    if (restart) {
        ::execv("/proc/self/exe", argv);
        qWarning("could not start anew: %s", std::strerror(errno));
    }
    return status;
}
