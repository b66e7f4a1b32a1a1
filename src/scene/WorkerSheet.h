#pragma once

#include "model/Catalog.h"

#include <QString>

namespace pipfield {

class Sprite;

/// Finds the most specific art for a worker animation among the sheets that exist.
class WorkerSheet {
public:
    /// Tries the second body's sheets before the plain ones, each from the gear tier down to no tier;
    /// the first sheet with a frame 0 wins, else the plain untiered sheet (unchecked).
    static QString name(Sprite& sprites, WorkerRole role, int variant, int tier, const QString& anim);
};

} // namespace pipfield
