// Draws every image of the game into a folder, with the dye table and a resource list for the build.
// With --contact-sheet it also writes one upscaled, labelled sheet of everything for review.

#include "art/Art.h"
#include "art/ArtSet.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    // Fonts for the contact sheet's labels need a platform, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    const bool sheet = args.removeAll("--contact-sheet") > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: pipfield-spritegen [--contact-sheet] OUTPUT-FOLDER\n");
        return 2;
    }
    const QString out = args.first();

    ArtSet art;
    drawScenery(art);
    drawTrees(art);
    drawFruit(art);
    drawEffects(art);
    drawWorkers(art);
    drawIcons(art);
    drawInterface(art);

    if (!art.write(out)) {
        std::fprintf(stderr, "pipfield-spritegen: cannot write to %s\n", qPrintable(out));
        return 1;
    }
    if (sheet && !art.contactSheet(2).save(out + "/contact-sheet.png")) {
        std::fprintf(stderr, "pipfield-spritegen: cannot write the contact sheet\n");
        return 1;
    }
    return 0;
}
