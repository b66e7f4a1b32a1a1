// What the management window costs the game while it is closed: the same run of ticks on the late
// demo orchard with no window, with the window built but closed, and with it open on the orchard tab.
// Prints the processor time per tick of each: manage-closed-bench [TICKS]

#include "support/IsolatedDesktop.h"
#include "support/ManageTestSupport.h"

#include <QApplication>
#include <QTabWidget>

#include <cstdio>
#include <ctime>

using namespace pipfield;

namespace {

enum class Window { none, closed, open };

double secondsPerTick(Window mode, int ticks) {
    test::ManageWorld world(std::nullopt, {{QStringLiteral("demo"), QStringLiteral("late")}});
    std::unique_ptr<ManageWindow> window;
    if (mode != Window::none) {
        window = world.window();
        window->tabs()->setCurrentIndex(0);
    }
    if (mode == Window::open) {
        test::showAside(*window);
    }
    int published = 0;
    QObject::connect(world.game.get(), &Game::orchardChanged, [&published] { ++published; });
    QApplication::processEvents();
    const std::clock_t start = std::clock();
    for (int i = 0; i < ticks; ++i) {
        world.clock.advance(1);
        world.game->tick(world.clock.now());
        QApplication::processEvents();
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("%-7s %d ticks, %d published: %.1f us per tick\n",
                mode == Window::none     ? "none"
                : mode == Window::closed ? "closed"
                                         : "open",
                ticks, published, 1e6 * seconds / ticks);
    return seconds / ticks;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!test::isolateFromDesktop(home)) {
        return 1;
    }
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 3000;
    for (int round = 0; round < 2; ++round) {
        secondsPerTick(Window::none, ticks);
        secondsPerTick(Window::closed, ticks);
        secondsPerTick(Window::open, ticks);
    }
    return 0;
}
