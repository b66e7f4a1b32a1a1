#include "game/Looks.h"

namespace pipfield {

Looks::Looks(const Orchard& orchard)
    : coins(orchard.coins), crate(orchard.crateCount()), crateLevel(orchard.crateLevel), workers(orchard.workers),
      unlocked(orchard.unlocked), totals(orchard.totals) {
    trees.reserve(orchard.trees.size());
    for (const Tree& tree : orchard.trees) {
        trees.push_back({tree.kind, tree.stage(), tree.fruit, tree.growthPercent()});
    }
}

} // namespace pipfield
