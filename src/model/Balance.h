#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/Catalog.h"

namespace pipfield {

/// The economy: pure functions from levels and counts to prices, capacities and rates.
struct Balance {
    /// One kind's constant numbers.
    struct TreeSpec {
        double grow;           // seconds from planting to maturity
        double interval;       // seconds of growth per fruit once mature
        std::int64_t capacity; // most fruit hanging at once
        std::int64_t value;    // coins per fruit before modifiers
        std::int64_t price;    // planting price of the first tree of the kind
        std::int64_t unlockCost;
    };

    /// First level of gear tiers 0 to 4.
    static constexpr std::array<std::int64_t, 5> gearLevels = {1, 5, 10, 15, 20};

    static const TreeSpec& spec(TreeKind kind);

    /// Price of taking a worker of the role from `level` to `level + 1`.
    static std::int64_t workerCost(WorkerRole role, std::int64_t level);
    /// 0 to 4: how many of the thresholds 5, 10, 15, 20 the level reaches.
    static int gearTier(std::int64_t level);
    static std::string gearName(std::int64_t tier);
    static std::int64_t crateCapacity(std::int64_t level);
    /// A second worker adds half again to the level-dependent part of a bonus.
    static double crewFactor(std::int64_t crew) { return crew >= 2 ? 1.5 : 1.0; }
    static double growthMultiplier(std::int64_t caretaker, std::int64_t crew, Season season);
    /// Fruit per second moved by the harvester crew.
    static double harvestRate(std::int64_t harvester, std::int64_t crew, Season season);
};

} // namespace pipfield
