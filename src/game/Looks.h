#pragma once

#include "model/EnumMap.h"
#include "model/Orchard.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pipfield {

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
