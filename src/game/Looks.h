#pragma once

#include "model/EnumMap.h"
#include "model/Orchard.h"

#include <cstdint>
#include <vector>

namespace pipfield {

/// What of one tree can be seen: its growth shows in whole percent, not in the seconds behind it.
struct TreeLooks {
    TreeKind kind = TreeKind::eureka;
    TreeStage stage = TreeStage::seedling;
    std::int64_t fruit = 0;
    int growthPercent = 0;

    bool operator==(const TreeLooks&) const = default;
};

/// What of an orchard can be seen; the game republishes only when this changes, so that the
/// views are not re-rendered by the fractions a tick adds every second.
struct Looks {
    explicit Looks(const Orchard& orchard);

    std::int64_t coins = 0;
    std::int64_t crate = 0;
    std::int64_t crateLevel = 0;
    EnumMap<WorkerRole, std::int64_t> workers;
    EnumSet<TreeKind> unlocked;
    std::vector<TreeLooks> trees;
    Totals totals;

    bool operator==(const Looks&) const = default;
};

} // namespace pipfield
