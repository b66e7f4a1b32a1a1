#pragma once

#include "model/Catalog.h"
#include "model/EnumMap.h"
#include "model/Purchase.h"
#include "model/Totals.h"
#include "model/Tree.h"
#include "model/WorkerLook.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pipfield {

/// The whole state of one player's game as a plain value. Field order is the save file's key order.
struct Orchard {
    static constexpr std::size_t maxTrees = 10;
    static constexpr std::int64_t maxWorkerLevel = 20;
    static constexpr std::int64_t maxCrateLevel = 18;
    /// A role may take on a second worker from this level on.
    static constexpr std::int64_t secondWorkerLevel = 10;
    /// The second worker costs what the level-up at this level does.
    static constexpr std::int64_t secondWorkerPriceLevel = 14;
    /// A step never covers more than this; longer spans are cut into slices of it.
    static constexpr double stepSeconds = 5.0;

    std::vector<Tree> trees;
    EnumMap<WorkerRole, std::int64_t> workers;
    EnumMap<TreeKind, std::int64_t> crate;
    std::int64_t coins = 0;
    EnumSet<TreeKind> unlocked;
    Totals totals;
    std::int64_t crateLevel = 0;
    double harvestBudget = 0;
    EnumSet<WorkerRole> extraWorkers;
    std::map<std::string, WorkerLook> looks;
    EnumSet<TreeKind> everPlanted;
    EnumMap<TreeKind, std::int64_t> harvestedByKind;

    /// The orchard of a new game.
    static Orchard starter();

    /// The price of a purchase, or nothing when it is not available now (affordability aside).
    std::optional<std::int64_t> cost(const Purchase& purchase) const;
    /// Makes the purchase when it is available and affordable; false leaves the orchard untouched.
    bool buy(const Purchase& purchase);

    /// The stored level of a role, 0 when it has no entry.
    std::int64_t level(WorkerRole role) const { return workers.valueOr(role, 0); }
    /// How many workers of the role are employed: 0, 1 or 2.
    std::int64_t staff(WorkerRole role) const;
    WorkerLook look(WorkerRole role, std::int64_t slot) const;
    void setLook(const WorkerLook& look, WorkerRole role, std::int64_t slot);

    /// Advances the orchard by dt seconds (at most 5) in the given season.
    void step(double dt, Season season) { stepReportingChange(dt, season); }
    /// Advances by any span, in slices of 5 seconds and a final remainder, as the game's catch-up does.
    void advance(double seconds, Season season);
    /// advance() that also tells how many seconds into the span the crate first held its capacity:
    /// 0 when it was full from the start, nothing when it never filled.
    std::optional<double> advanceWatchingCrate(double seconds, Season season);
    /// Picks by hand every fruit of a tree that the crate has room for; returns how many.
    std::int64_t harvest(std::int64_t tree);

    std::int64_t crateCount() const;
    std::int64_t crateCapacity() const;
    /// The crate takes nothing more.
    bool crateFull() const { return crateCount() >= crateCapacity(); }
    /// How many trees of the kind are planted.
    std::int64_t treesOf(TreeKind kind) const;
    /// Coins the crate would fetch now.
    std::int64_t crateValue(Season season) const;
    /// Seconds, in whole minutes, until the harvester fills the crate; nothing when it won't within 48 hours.
    std::optional<double> timeUntilCrateFull(Season season) const;

    bool operator==(const Orchard&) const = default;

    /// One step that also tells whether anything changed. An unchanged orchard is a fixed point:
    /// further steps of the same length and season cannot change it either.
    bool stepReportingChange(double dt, Season season);
};

} // namespace pipfield
