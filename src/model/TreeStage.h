#pragma once

#include <array>

namespace pipfield {

/// The growth stage a tree is drawn at. The number is the one in its picture's name; there is no 4,
/// as no picture lies between bare and blossom.
enum class TreeStage {
    seedling = 0,
    sprout = 1,
    sapling = 2,
    /// Grown and bare.
    mature = 3,
    /// A fruit is on its way.
    blossom = 5,
    bearing = 6,
};

inline constexpr std::array<TreeStage, 6> allTreeStages = {TreeStage::seedling, TreeStage::sprout,  TreeStage::sapling,
                                                           TreeStage::mature,   TreeStage::blossom, TreeStage::bearing};

/// The number of the stage's picture.
constexpr int artNumber(TreeStage stage) {
    return static_cast<int>(stage);
}

/// Still growing toward maturity.
constexpr bool isGrowing(TreeStage stage) {
    return stage < TreeStage::mature;
}

} // namespace pipfield
