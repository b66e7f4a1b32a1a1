#include "model/Balance.h"

#include <algorithm>
#include <cmath>

#include "model/Saturating.h"
#include "model/Text.h"

namespace pipfield {
namespace {

constexpr std::array<Balance::TreeSpec, 12> kSpecs = {{
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

constexpr std::array<double, 3> kWorkerBaseCost = {40, 25, 60};

} // namespace

const Balance::TreeSpec& Balance::spec(TreeKind kind) {
    return kSpecs[static_cast<std::size_t>(kind)];
}

std::int64_t Balance::workerCost(WorkerRole role, std::int64_t level) {
    return roundHalfAway(kWorkerBaseCost[static_cast<std::size_t>(role)] * std::pow(2.1, static_cast<double>(level)));
}

int Balance::gearTier(std::int64_t level) {
    int tier = 0;
    for (std::int64_t threshold : {5, 10, 15, 20}) {
        if (level >= threshold) {
            ++tier;
        }
    }
    return tier;
}

std::string Balance::gearName(std::int64_t tier) {
    switch (tier) {
    case 1:
        return localized("견습 장비");
    case 2:
        return localized("숙련 장비");
    case 3:
        return localized("장인 장비");
    case 4:
        return localized("명인 장비");
    default:
        return localized("기본 장비");
    }
}

std::int64_t Balance::crateCapacity(std::int64_t level) {
    // Written without `level - 12` on the raw value, which could overflow for a hand-edited level.
    const double early = static_cast<double>(std::min<std::int64_t>(level, 12));
    const double late = level > 12 ? static_cast<double>(level - 12) : 0.0;
    return roundHalfAway(40 * std::pow(1.5, early) * std::pow(1.25, late));
}

double Balance::growthMultiplier(std::int64_t caretaker, std::int64_t crew, Season season) {
    const double s = season == Season::spring ? 1.15 : 1.0;
    return (1 + static_cast<double>(caretaker) * 0.15 * crewFactor(crew)) * s;
}

double Balance::harvestRate(std::int64_t harvester, std::int64_t crew, Season season) {
    const double a = season == Season::autumn ? 1.25 : 1.0;
    return static_cast<double>(harvester) * 0.06 * crewFactor(crew) * a;
}

} // namespace pipfield
