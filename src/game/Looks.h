#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/EnumMap.h"
#include "model/Orchard.h"

namespace pipfield {

/// The growth stage a tree is drawn at: 0 to 2 while growing, 3 mature and bare, 5 with fruit
/// about to show, 6 bearing. There is no stage 4.
int treeStage(const Tree& tree);

/// What of an orchard can be seen; the game republishes only when this changes, so that the
/// views are not re-rendered by the fractions a tick adds every second.
struct Looks {
    explicit Looks(const Orchard& orchard);

    std::int64_t coins = 0;
    std::int64_t crate = 0;
    std::int64_t crateLevel = 0;
    EnumMap<WorkerRole, std::int64_t> workers;
    EnumSet<TreeKind> unlocked;
    /// Per tree: kind position, stage, fruit, growth percent.
    std::vector<std::array<std::int64_t, 4>> trees;
    Totals totals;

    bool operator==(const Looks&) const = default;
};

} // namespace pipfield
