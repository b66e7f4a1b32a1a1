// Saves a changing orchard as fast as it can, reporting each completed save on standard output, until
// it is killed. The crash test kills it at random moments and checks the file it leaves behind.

#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Notifier.h"
#include "game/SaveStore.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    pipfield::Defaults defaults(pipfield::Defaults::standardFile());
    pipfield::SystemClock clock;
    pipfield::SilentNotifier notifier;
    pipfield::SaveStore store(pipfield::SaveStore::standardPath());
    pipfield::Game game(defaults, clock, notifier, store);

    // The counter lives in the first planter's name; its length varies so that a torn write could not
    // pass for a whole one.
    const std::string start = game.live().look(pipfield::WorkerRole::planter, 0).name;
    long long n = start.empty() ? 0 : std::stoll(start.substr(0, start.find(' ')));
    std::printf("start %lld\n", n);
    std::fflush(stdout);
    for (int i = 0; i < 100000; ++i) {
        ++n;
        game.setLook({n % 2, n % 7, std::to_string(n) + " " + std::string(static_cast<std::size_t>(n % 97), 'x')},
                     pipfield::WorkerRole::planter, 0);
        std::printf("saved %lld\n", n);
        std::fflush(stdout);
    }
    return 0;
}
