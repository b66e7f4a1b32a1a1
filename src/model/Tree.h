#pragma once

#include "model/Catalog.h"
#include "model/TreeStage.h"

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
    /// Younger than its kind's grow time.
    bool growing() const;
    /// The growth stage the tree is drawn at.
    TreeStage stage() const;

    bool operator==(const Tree&) const = default;
};

} // namespace pipfield
