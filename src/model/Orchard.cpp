#include "model/Orchard.h"

#include "model/Balance.h"
#include "model/Saturating.h"

#include <algorithm>
#include <cmath>

namespace pipfield {
namespace {

// Each further tree of a kind costs 1.6 times the one before; other kinds do not raise it.
std::int64_t treePrice(const Orchard& orchard, TreeKind kind) {
    return roundHalfAway(static_cast<double>(Balance::spec(kind).price) *
                         std::pow(1.6, static_cast<double>(orchard.treesOf(kind))));
}

Tree seedling(TreeKind kind) {
    return Tree{kind, 0, 0, 0};
}

} // namespace

Orchard Orchard::starter() {
    Orchard o;
    o.trees.push_back(Tree{TreeKind::eureka, 300, 0, 3});
    o.workers.set(WorkerRole::harvester, 1);
    o.coins = 10;
    o.unlocked.insert(TreeKind::eureka);
    o.everPlanted.insert(TreeKind::eureka);
    return o;
}

std::optional<std::int64_t> Orchard::cost(const Purchase& purchase) const {
    switch (purchase.what) {
    case Purchase::Case::tree:
        if (!unlocked.contains(purchase.kind) || trees.size() >= maxTrees) {
            return std::nullopt;
        }
        return treePrice(*this, purchase.kind);
    case Purchase::Case::unlock:
        if (unlocked.contains(purchase.kind)) {
            return std::nullopt;
        }
        return Balance::spec(purchase.kind).unlockCost;
    case Purchase::Case::replant: {
        const std::int64_t i = purchase.plot;
        if (i < 0 || static_cast<std::uint64_t>(i) >= trees.size() || !unlocked.contains(purchase.kind) ||
            trees[static_cast<std::size_t>(i)].kind == purchase.kind) {
            return std::nullopt;
        }
        return treePrice(*this, purchase.kind);
    }
    case Purchase::Case::worker: {
        const std::optional<std::int64_t> stored = workers.find(purchase.role);
        if (!stored) {
            return Balance::workerCost(purchase.role, 0);
        }
        if (*stored >= maxWorkerLevel) {
            return std::nullopt;
        }
        return Balance::workerCost(purchase.role, *stored);
    }
    case Purchase::Case::secondWorker: {
        const std::optional<std::int64_t> stored = workers.find(purchase.role);
        if (!stored || *stored < secondWorkerLevel || extraWorkers.contains(purchase.role)) {
            return std::nullopt;
        }
        return Balance::workerCost(purchase.role, secondWorkerPriceLevel);
    }
    case Purchase::Case::crate:
        if (crateLevel >= maxCrateLevel) {
            return std::nullopt;
        }
        return roundHalfAway(std::pow(2.3, static_cast<double>(crateLevel)) * 30);
    }
    return std::nullopt;
}

bool Orchard::buy(const Purchase& purchase) {
    const std::optional<std::int64_t> price = cost(purchase);
    if (!price || coins < *price) {
        return false;
    }
    coins = saturatingSub(coins, *price);
    switch (purchase.what) {
    case Purchase::Case::tree:
        trees.push_back(seedling(purchase.kind));
        everPlanted.insert(purchase.kind);
        totals.planted = saturatingAdd(totals.planted, 1);
        break;
    case Purchase::Case::unlock:
        unlocked.insert(purchase.kind);
        break;
    case Purchase::Case::replant:
        // The old tree's fruit is lost with it, not picked.
        trees[static_cast<std::size_t>(purchase.plot)] = seedling(purchase.kind);
        everPlanted.insert(purchase.kind);
        totals.planted = saturatingAdd(totals.planted, 1);
        break;
    case Purchase::Case::worker:
        // cost() refuses levels of 20 and more, so the stored level cannot overflow here.
        workers.set(purchase.role, level(purchase.role) + 1);
        break;
    case Purchase::Case::secondWorker:
        extraWorkers.insert(purchase.role);
        break;
    case Purchase::Case::crate:
        crateLevel += 1;
        break;
    }
    return true;
}

std::int64_t Orchard::staff(WorkerRole role) const {
    // A hand-edited negative level counts as not hired, like level 0.
    if (level(role) < 1) {
        return 0;
    }
    return extraWorkers.contains(role) ? 2 : 1;
}

WorkerLook Orchard::look(WorkerRole role, std::int64_t slot) const {
    const auto it = looks.find(slotKey(role, slot));
    if (it != looks.end()) {
        return it->second;
    }
    // The second worker shows the other body until the player picks one.
    return WorkerLook{slot != 0 ? 1 : 0, 0, {}};
}

void Orchard::setLook(const WorkerLook& newLook, WorkerRole role, std::int64_t slot) {
    looks[slotKey(role, slot)] = newLook;
}

std::int64_t Orchard::treesOf(TreeKind kind) const {
    return std::count_if(trees.begin(), trees.end(), [kind](const Tree& tree) { return tree.kind == kind; });
}

std::int64_t Orchard::crateCount() const {
    // Absent kinds hold 0, so every slot is added without looking at which are present. While every
    // count lies within 2^58 of zero, twelve of them cannot overflow, and the sum is plain (and
    // vectorizable) arithmetic; `spread` has a bit at 59 or above as soon as one count does not.
    std::uint64_t sum = 0;
    std::uint64_t spread = 0;
    for (std::int64_t count : crate.values()) {
        sum += static_cast<std::uint64_t>(count);
        spread |= static_cast<std::uint64_t>(count) + (std::uint64_t{1} << 58);
    }
    if ((spread >> 59) == 0) {
        return static_cast<std::int64_t>(sum);
    }
    // Only hand-edited counts get here: the exact total, clamped to the 64-bit range.
    __int128 exact = 0;
    for (std::int64_t count : crate.values()) {
        exact += count;
    }
    return exact > kInt64Max ? kInt64Max : exact < kInt64Min ? kInt64Min : static_cast<std::int64_t>(exact);
}

std::int64_t Orchard::crateCapacity() const {
    return Balance::crateCapacity(crateLevel);
}

} // namespace pipfield
