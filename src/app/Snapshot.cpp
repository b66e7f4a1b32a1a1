#include "app/Snapshot.h"

#include "card/WeeklyCard.h"
#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Notifier.h"
#include "game/SaveStore.h"
#include "manage/ManageWindow.h"
#include "platform/NoDesktop.h"
#include "scene/OrchardView.h"
#include "scene/Sprite.h"
#include "strip/SceneContent.h"
#include "strip/Strip.h"
#include "strip/StripPanel.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

namespace pipfield {
namespace {

bool writeImage(const QImage& image, const QString& path, QTextStream& err) {
    if (!image.isNull() && image.save(path, "PNG")) {
        return true;
    }
    err << "pipfield: cannot write " << path << "\n";
    return false;
}

} // namespace

int writeSnapshots(const QVariantMap& overrides, const QString& folder) {
    QTextStream err(stderr);
    if (!QDir().mkpath(folder)) {
        err << "pipfield: cannot create " << folder << "\n";
        return 1;
    }
    // The game saves after its first tick: it works on a copy, so the player's files stay as they are.
    // The previous save comes along, for a file the game would not read.
    QTemporaryDir scratch;
    const SaveStore player(SaveStore::standardPath());
    SaveStore store(scratch.filePath(QStringLiteral("orchard.json")));
    QFile::copy(player.path(), store.path());
    QFile::copy(player.previousPath(), store.previousPath());

    // Settings are read from the player's file but never written: nothing here calls setValue.
    Defaults defaults(Defaults::standardFile(), overrides);
    defaults.registerDefaults(Defaults::standardDefaults());
    SystemClock clock;
    SilentNotifier notifier; // the player's pending notification is neither cancelled nor replaced
    Game game(defaults, clock, notifier, store);
    Sprite sprites;
    NoDesktop desktop;

    OrchardViewSetup setup;
    setup.sprites = &sprites;
    game.sceneSettings().holdStill(); // a still picture: no effect half-played
    auto* view = new OrchardView(game, setup);
    StripPanel panel(desktop, desktop, nullptr);
    Strip strip(defaults, panel, sceneContent(*view, panel));
    view->sync();

    bool ok =
        writeImage(panel.window().widget()->grab().toImage(), QDir(folder).filePath(QStringLiteral("strip.png")), err);
    ManageServices services;
    services.sprites = &sprites;
    ManageWindow window(game, strip, defaults, nullptr, services);
    for (int tab = 0; tab < ManageWindow::kTabCount; ++tab) {
        ok = writeImage(window.renderTab(tab), QDir(folder).filePath(QStringLiteral("manage-%1.png").arg(tab)), err) &&
             ok;
    }
    const WeeklyCard card{game.thisWeek(), game.weekStart()};
    ok = writeImage(card.render(sprites), QDir(folder).filePath(QStringLiteral("card.png")), err) && ok;
    return ok ? 0 : 1;
}

} // namespace pipfield
