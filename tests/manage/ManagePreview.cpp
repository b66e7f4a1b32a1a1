// Draws every tab of the window and the weekly card into a folder, for looking at them while
// working on the window: manage-preview DIR [dark] [-demo late].

#include "card/WeeklyCard.h"
#include "manage/Appearance.h"
#include "manage/WorkersTab.h"
#include "support/IsolatedDesktop.h"
#include "support/ManageTestSupport.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdlib>

using namespace pipfield;

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!test::isolateFromDesktop(home)) {
        return 1;
    }
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QStringList args = app.arguments();
    const QString dir = args.value(1, QStringLiteral("."));
    if (args.contains(QStringLiteral("dark"))) {
        QApplication::setPalette(forcedPalette(true));
    }
    const bool demo = args.contains(QStringLiteral("late"));
    test::ManageWorld world(demo ? std::nullopt : std::optional(Orchard::starter()),
                            demo ? QStringList{QStringLiteral("-demo"), QStringLiteral("late")} : QStringList{});
    auto window = world.window();
    for (int i = 0; i < ManageWindow::kTabCount; ++i) {
        window->renderTab(i).save(dir + QStringLiteral("/manage-%1.png").arg(i));
    }
    const WeeklyCard card{world.game->thisWeek(), world.game->weekStart()};
    card.render(world.sprites).save(dir + QStringLiteral("/card.png"));
    HireSheet sheet(*world.game, world.sprites, WorkerRole::harvester);
    sheet.adjustSize();
    sheet.grab().save(dir + QStringLiteral("/hire-sheet.png"));
    return 0;
}
