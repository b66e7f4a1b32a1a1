#include "model/Balance.h"

#include "model/Saturating.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>

namespace pipfield {
namespace {

constexpr std::array<double, 3> kWorkerBaseCost = {40, 25, 60};

} // namespace

std::int64_t Balance::workerCost(WorkerRole role, std::int64_t level) {
    return roundHalfAway(kWorkerBaseCost[static_cast<std::size_t>(role)] * std::pow(2.1, static_cast<double>(level)));
}

int Balance::gearTier(std::int64_t level) {
    int tier = 0;
    for (std::size_t i = 1; i < gearLevels.size(); ++i) {
        if (level >= gearLevels[i]) {
            ++tier;
        }
    }
    return tier;
}

std::string Balance::gearName(std::int64_t tier) {
    switch (tier) {
    case 1:
        return localized(textKey("pipfield", "견습 장비"));
    case 2:
        return localized(textKey("pipfield", "숙련 장비"));
    case 3:
        return localized(textKey("pipfield", "장인 장비"));
    case 4:
        return localized(textKey("pipfield", "명인 장비"));
    default:
        return localized(textKey("pipfield", "기본 장비"));
    }
}

namespace {

std::int64_t computeCrateCapacity(std::int64_t level) {
    // Written without `level - 12` on the raw value, which could overflow for a hand-edited level.
    const double early = static_cast<double>(std::min<std::int64_t>(level, 12));
    const double late = level > 12 ? static_cast<double>(level - 12) : 0.0;
    return roundHalfAway(40 * std::pow(1.5, early) * std::pow(1.25, late));
}

} // namespace

std::int64_t Balance::crateCapacity(std::int64_t level) {
    // The harvester asks on most steps; the levels of play are looked up rather than raised to powers.
    static const std::array<std::int64_t, 19> table = [] {
        std::array<std::int64_t, 19> t{};
        for (std::size_t i = 0; i < t.size(); ++i) {
            t[i] = computeCrateCapacity(static_cast<std::int64_t>(i));
        }
        return t;
    }();
    if (level >= 0 && level < static_cast<std::int64_t>(table.size())) {
        return table[static_cast<std::size_t>(level)];
    }
    return computeCrateCapacity(level);
}

double Balance::saleMultiplier(std::int64_t planter, std::int64_t crew) {
    return 1 + static_cast<double>(planter) * planterBonus * crewFactor(crew);
}

double Balance::seasonPrice(TreeKind kind, Season season) {
    if (season == Season::summer) {
        return summerPrice;
    }
    if (season == Season::winter && kind == TreeKind::yuja) {
        return winterYujaPrice;
    }
    return 1;
}

double Balance::growthMultiplier(std::int64_t caretaker, std::int64_t crew, Season season) {
    const double s = season == Season::spring ? springGrowth : 1.0;
    return (1 + static_cast<double>(caretaker) * caretakerBonus * crewFactor(crew)) * s;
}

double Balance::harvestRate(std::int64_t harvester, std::int64_t crew, Season season) {
    const double a = season == Season::autumn ? autumnHarvest : 1.0;
    return static_cast<double>(harvester) * harvesterRate * crewFactor(crew) * a;
}

} // namespace pipfield
