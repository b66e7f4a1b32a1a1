#pragma once

#include "model/Catalog.h"

#include <cstdint>

namespace pipfield {

/// One planted plot.
struct Tree {
    TreeKind kind = TreeKind::eureka;
    double age = 0;      // seconds of growth done, up to the kind's grow time
    double progress = 0; // seconds of growth toward the next fruit
    std::int64_t fruit = 0;

    /// How far the tree has grown, 0 to 100.
    int growthPercent() const;
    /// The growth stage the tree is drawn at: 0 to 2 while growing, 3 mature and bare, 5 in blossom
    /// (a fruit is on its way), 6 bearing. There is no stage 4: no picture lies between bare and blossom.
    int stage() const;

    bool operator==(const Tree&) const = default;
};

} // namespace pipfield
