#pragma once

#include "model/Catalog.h"

#include <array>
#include <cstdint>
#include <string>

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

    /// The kinds' numbers in declaration order. Kept inline: the simulation reads them for every tree of every step.
    static constexpr std::array<TreeSpec, 12> specs = {{
        {300, 60, 6, 2, 15, 0},
        {600, 65, 7, 4, 50, 60},
        {1200, 75, 8, 7, 120, 150},
        {1800, 80, 9, 12, 350, 450},
        {2700, 90, 10, 20, 900, 1200},
        {3600, 100, 11, 34, 2500, 3200},
        {5400, 110, 12, 55, 6000, 8000},
        {7200, 120, 13, 90, 20000, 30000},
        {10800, 130, 14, 150, 80000, 120000},
        {14400, 140, 15, 250, 1200000, 2000000},
        {18000, 150, 16, 420, 8000000, 12000000},
        {21600, 160, 18, 700, 40000000, 60000000},
    }};

    /// First level of gear tiers 0 to 4.
    static constexpr std::array<std::int64_t, 5> gearLevels = {1, 5, 10, 15, 20};
    static constexpr int maxGearTier = static_cast<int>(gearLevels.size()) - 1;

    /// What one level of a role adds: to the sale price, to the growth speed, and in fruit per second.
    static constexpr double planterBonus = 0.12;
    static constexpr double caretakerBonus = 0.15;
    static constexpr double harvesterRate = 0.06;
    /// A second worker of a role adds half again to the level-dependent part of its bonus.
    static constexpr double crewBonus = 1.5;
    /// The seasons' factors: spring grows faster, autumn picks faster, summer pays more for every kind
    /// and winter for yuja alone.
    static constexpr double springGrowth = 1.15;
    static constexpr double autumnHarvest = 1.25;
    static constexpr double summerPrice = 1.2;
    static constexpr double winterYujaPrice = 1.5;

    static const TreeSpec& spec(TreeKind kind) { return specs[static_cast<std::size_t>(kind)]; }

    /// Price of taking a worker of the role from `level` to `level + 1`.
    static std::int64_t workerCost(WorkerRole role, std::int64_t level);
    /// 0 to 4: how many of the gear levels after the first the level reaches.
    static int gearTier(std::int64_t level);
    static std::string gearName(std::int64_t tier);
    static std::int64_t crateCapacity(std::int64_t level);
    static double crewFactor(std::int64_t crew) { return crew >= 2 ? crewBonus : 1.0; }
    /// What the planter crew multiplies every sale by.
    static double saleMultiplier(std::int64_t planter, std::int64_t crew);
    /// What the season multiplies a kind's price by.
    static double seasonPrice(TreeKind kind, Season season);
    static double growthMultiplier(std::int64_t caretaker, std::int64_t crew, Season season);
    /// Fruit per second moved by the harvester crew.
    static double harvestRate(std::int64_t harvester, std::int64_t crew, Season season);
};

} // namespace pipfield
