// Runs the orchard scene in a strip-sized window for a while and reports what it cost: CPU time
// as a percentage of one core over the run, and the peak resident memory.
//
//   pipfield-scene-bench [--seconds 60] [--starter] [--hour 22] [--theme moon] [--width 746]
//                        [--every-frame] [--shot file.png]

#include "../CpuTime.h"
#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Notifier.h"
#include "game/SaveStore.h"
#include "scene/OrchardView.h"
#include "scene/Sprite.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <sys/resource.h>

using namespace pipfield;

namespace {

using pipfield::bench::cpuSeconds;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption seconds("seconds", "Seconds to run.", "n", "60");
    const QCommandLineOption starter("starter", "A new game's orchard instead of the late-game demo.");
    const QCommandLineOption hour("hour", "The hour of day shown.", "h", "22");
    const QCommandLineOption theme("theme", "sunny, blossom, sunset or moon.", "name", "sunny");
    const QCommandLineOption width("width", "Width of the strip in points.", "w", "746");
    const QCommandLineOption season("season", "Season override.", "name");
    const QCommandLineOption everyFrame("every-frame", "Repaint the whole view 60 times a second, for comparison.");
    const QCommandLineOption shot("shot", "Save a picture of the window at the end.", "file");
    parser.addOptions({seconds, starter, hour, theme, width, season, everyFrame, shot});
    parser.addHelpOption();
    parser.process(app);

    QTemporaryDir home;
    QVariantMap overrides{{QStringLiteral("hour"), parser.value(hour)}};
    if (!parser.isSet(starter)) {
        overrides.insert(QStringLiteral("demo"), QStringLiteral("late"));
    }
    if (parser.isSet(season)) {
        overrides.insert(QStringLiteral("season"), parser.value(season));
    }
    Defaults defaults(home.filePath(QStringLiteral("Pipfield.conf")), overrides);
    defaults.registerDefaults(Defaults::standardDefaults());
    defaults.setValue(QStringLiteral("theme"), parser.value(theme));
    SystemClock clock;
    SilentNotifier notifier;
    SaveStore store(home.filePath(QStringLiteral("orchard.json")));
    Game game(defaults, clock, notifier, store);
    game.start();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Pipfield scene"));
    const QSize size(parser.value(width).toInt(), 72);
    window.resize(size);
    Sprite sprites;
    OrchardViewSetup setup;
    setup.sprites = &sprites;
    OrchardView view(game, setup, &window);
    view.setFrameSize(size);
    // As the strip does where no compositing manager blends it with the desktop.
    view.setPaintsSky(true);
    window.show();

    QTimer everyFrameTimer;
    if (parser.isSet(everyFrame)) {
        everyFrameTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&everyFrameTimer, &QTimer::timeout, &view, [&view] { view.repaint(); });
        everyFrameTimer.start(16);
    }

    // Start-up (decoding and grading the art) is paid once; the strip then runs all day.
    const double run = parser.value(seconds).toDouble();
    double cpuStart = 0;
    quint64 flushesStart = 0;
    QTimer::singleShot(1000, &app, [&] {
        cpuStart = cpuSeconds();
        flushesStart = view.compositor().flushCount();
        QTimer::singleShot(static_cast<int>(run * 1000), &app, [&] {
            const double cpu = cpuSeconds() - cpuStart;
            const quint64 flushes = view.compositor().flushCount() - flushesStart;
            if (parser.isSet(shot)) {
                window.grab().save(parser.value(shot));
            }
            std::printf("workers=%zu paints_per_second=%.1f\n", view.workers().size(),
                        static_cast<double>(flushes) / run);
            std::printf("cpu_percent=%.2f rss_mb=%.1f\n", 100.0 * cpu / run, peakMegabytes());
            std::fflush(stdout);
            app.quit();
        });
    });
    return app.exec();
}
