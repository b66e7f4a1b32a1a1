#include "game/Looks.h"

#include "model/Balance.h"

namespace pipfield {

int treeStage(const Tree& tree) {
    const Balance::TreeSpec& spec = Balance::spec(tree.kind);
    if (tree.age < spec.grow) {
        const double r = tree.age / spec.grow;
        return r < 0.15 ? 0 : r < 0.45 ? 1 : 2;
    }
    if (tree.fruit >= 1) {
        return 6;
    }
    return tree.progress >= 0.4 * spec.interval ? 5 : 3;
}

Looks::Looks(const Orchard& orchard)
    : coins(orchard.coins), crate(orchard.crateCount()), crateLevel(orchard.crateLevel), workers(orchard.workers),
      unlocked(orchard.unlocked), totals(orchard.totals) {
    trees.reserve(orchard.trees.size());
    for (const Tree& tree : orchard.trees) {
        trees.push_back({kindIndex(tree.kind), treeStage(tree), tree.fruit, tree.growthPercent()});
    }
}

} // namespace pipfield
