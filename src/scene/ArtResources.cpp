#include "scene/ArtResources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE has to be used outside any namespace.
static void registerArt() {
    Q_INIT_RESOURCE(pipfield_art);
}

namespace pipfield {

void initArtResources() {
    static const bool once = (registerArt(), true);
    (void)once;
}

} // namespace pipfield
