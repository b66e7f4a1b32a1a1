#include "app/Catalogue.h"
#include "app/CommandLine.h"
#include "app/PipfieldApp.h"
#include "app/Snapshot.h"
#include "game/Texts.h"
#include "model/Text.h"
#include "platform/LayerShellStrip.h"
#include "platform/Logging.h"
#include "platform/NotificationHelper.h"
#include "platform/QtPlatformChoice.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

// Plain Wayland lets no client place a window at the screen's edge or keep it above others. Where
// the compositor has the layer shell, the strip is a layer surface on a connection of its own;
// elsewhere it is an X11 dock window through XWayland. A player who chose a Qt platform keeps it.
std::unique_ptr<pipfield::LayerShellStrip> chooseStrip() {
    std::unique_ptr<pipfield::LayerShellStrip> layerStrip = pipfield::LayerShellStrip::connectToCompositor();
    pipfield::SessionFacts facts;
    facts.chosenPlatform = qgetenv("QT_QPA_PLATFORM");
    facts.sessionType = qgetenv("XDG_SESSION_TYPE");
    facts.waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    facts.x11Display = !qEnvironmentVariableIsEmpty("DISPLAY");
    facts.layerShell = layerStrip != nullptr;
    const QByteArray platform = pipfield::qtPlatformFor(facts);
    if (!platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
    const QByteArray windows = qgetenv("QT_QPA_PLATFORM");
    if (layerStrip) {
        qCInfo(pipfield::lcDesktop).noquote()
            << "the strip is a layer surface of the Wayland compositor; windows through Qt's"
            << (windows.isEmpty() ? QByteArray("default") : windows) << "platform";
    } else if (facts.waylandDisplay) {
        qCInfo(pipfield::lcDesktop).noquote()
            << "the Wayland compositor offers no layer shell; the strip is an X11 panel"
            << "through Qt's" << windows << "platform";
    }
    return layerStrip;
}

} // namespace

int main(int argc, char** argv) {
    const pipfield::CommandLine line = pipfield::readCommandLine(argc, argv, std::cout, std::cerr);
    if (line.exitCode) {
        return *line.exitCode;
    }
    // A copy of the program that only waits to deliver a crate-full notification needs no windows.
    if (line.deliversNotification) {
        QCoreApplication helper(argc, argv);
        return pipfield::runNotificationHelper(QCoreApplication::arguments()).value_or(2);
    }

    // The strip repaints a few worker-sized patches many times a second, each overlapping the one
    // before. Through shared memory every such paint first waits for the X server to finish reading
    // the last one, a round trip that costs the game and the server more than sending the few
    // kilobytes over the socket.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    std::unique_ptr<pipfield::LayerShellStrip> layerStrip;
    if (line.snapshotFolder) {
        // Snapshots draw off screen and show nothing, whatever display there is.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        layerStrip = chooseStrip();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pipfield"));
    QApplication::setApplicationVersion(QStringLiteral(PIPFIELD_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pipfield"));
    // The game lives in the tray and the strip; closing the window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // One choice for the words and the numbers: a German system showing English texts writes "1.2M", not "1,2 Mio.".
    QTranslator catalogue;
    pipfield::useDisplayLanguage(catalogue, pipfield::displayLanguage(QLocale::system().uiLanguages()));
    pipfield::installTextLookup([](std::string_view korean) {
        const std::string key(korean);
        return pipfield::Texts::ui(key.c_str()).toStdString();
    });

    if (line.snapshotFolder) {
        return pipfield::writeSnapshots(line.overrides, QString::fromLocal8Bit(line.snapshotFolder->c_str()));
    }

    bool restart = false;
    int status = 0;
    {
        pipfield::SingleInstance instance(pipfield::SingleInstance::standardFolder());
        if (!instance.claim()) {
            return 0; // the running game was asked to show its window
        }
        pipfield::TerminationSignals termination;
        if (layerStrip) {
            layerStrip->start();
        }
        pipfield::PipfieldApp pipfield(line.overrides, std::move(layerStrip));
        QObject::connect(&instance, &pipfield::SingleInstance::reopenRequested, &pipfield,
                         &pipfield::PipfieldApp::reopen);
        QObject::connect(&termination, &pipfield::TerminationSignals::terminationRequested, &pipfield,
                         [&pipfield](int signalNumber) {
                             qCDebug(pipfield::lcDesktop) << "ending on signal" << signalNumber;
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
        qCWarning(pipfield::lcDesktop, "could not start anew: %s", std::strerror(errno));
    }
    return status;
}
