#include "scene/ErrandPlanner.h"

#include "model/Balance.h"
#include "model/Orchard.h"

#include <algorithm>

namespace pipfield {

namespace {

/// A pause of `least` seconds and up to `spread` more, by chance.
struct Rest {
    double least;
    double spread;
};

// One pass of a tool or gesture animation.
constexpr double kGestureSeconds = 1.44;
// A pause after a gesture.
constexpr double kAfterGesture = 2.0;
// Nothing to do.
constexpr Rest kIdle{3, 3};

// Offsets are from the tree's x: a worker stands left of the trunk, and its tool's effect shows
// between worker and trunk, a few points above the ground.
namespace digging {
// With no tree growing, the planter sometimes digs at a grown one anyway, else sometimes waves.
constexpr double kVisitChance = 0.4;
constexpr double kWaveChance = 0.35;
constexpr double kStand = -20;
constexpr double kDustX = -10;
constexpr double kDustY = 6;
constexpr Rest kRest{1, 2};
} // namespace digging

namespace watering {
constexpr double kYawnChance = 0.18;
// With no tree to water.
constexpr double kIdleSeconds = 3.0;
constexpr double kStand = -22;
constexpr double kWaterX = -4;
constexpr double kWaterY = 8;
constexpr Rest kRest{1.5, 2.5};
} // namespace watering

namespace picking {
constexpr double kStand = -14;
// From the content's left edge: where the harvester drops its load, beside the crate, with the
// second harvester a little further right; and where the drop sparkles on the crate.
constexpr double kCrateSpot = 48;
constexpr double kSecondOffset = 10;
constexpr double kSparkleX = 30;
constexpr double kAfterDrop = 0.6;
constexpr double kSniffChance = 0.3;
constexpr double kAfterSniff = 2.5;
} // namespace picking

// Every worker but the harvester first appears a little left of a tree.
constexpr double kStartStand = -20;

ErrandPlanner::Act act(const char* anim, double seconds) {
    return ErrandPlanner::Act{anim, seconds};
}

ErrandPlanner::Walk walk(double to, const char* anim) {
    return ErrandPlanner::Walk{to, anim};
}

std::vector<std::size_t> treesWhere(const std::vector<Tree>& trees, const std::function<bool(const Tree&)>& test) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        if (test(trees[i])) {
            found.push_back(i);
        }
    }
    return found;
}

} // namespace

ErrandPlanner::ErrandPlanner(std::function<double()> random) : m_chance(std::move(random)) {}

std::vector<ErrandPlanner::Step> ErrandPlanner::plan(WorkerRole role, const Orchard& orchard, const Ground& ground) {
    switch (role) {
    case WorkerRole::planter:
        return planter(orchard, ground);
    case WorkerRole::caretaker:
        return caretaker(orchard, ground);
    case WorkerRole::harvester:
        return harvester(orchard, ground);
    }
    return idle();
}

double ErrandPlanner::startX(WorkerRole role, int slot, const Orchard& orchard, const Ground& ground) {
    if (role == WorkerRole::harvester) {
        return ground.originX + picking::kCrateSpot + picking::kSecondOffset * slot;
    }
    return ground.treeX(m_chance.pick(std::max<std::size_t>(orchard.trees.size(), 1))) + kStartStand;
}

std::vector<ErrandPlanner::Step> ErrandPlanner::planter(const Orchard& orchard, const Ground& ground) {
    const std::vector<Tree>& trees = orchard.trees;
    const std::vector<std::size_t> growing = treesWhere(trees, [](const Tree& t) { return t.growing(); });
    std::size_t tree = 0;
    if (!growing.empty()) {
        tree = growing[m_chance.pick(growing.size())];
    } else if (m_chance() < digging::kVisitChance && !trees.empty()) {
        tree = m_chance.pick(trees.size());
    } else {
        if (m_chance() < digging::kWaveChance) {
            return {act("wave", kGestureSeconds), act("idle", kAfterGesture)};
        }
        return idle();
    }
    const double x = ground.treeX(tree);
    return {walk(x + digging::kStand, "walk"), act("dig", kGestureSeconds),
            Puff{"fx-dust", x + digging::kDustX, digging::kDustY},
            act("idle", digging::kRest.least + digging::kRest.spread * m_chance())};
}

std::vector<ErrandPlanner::Step> ErrandPlanner::caretaker(const Orchard& orchard, const Ground& ground) {
    if (m_chance() < watering::kYawnChance) {
        return {act("yawn", kGestureSeconds), act("idle", kAfterGesture)};
    }
    if (orchard.trees.empty()) {
        return {act("idle", watering::kIdleSeconds)};
    }
    const double x = ground.treeX(m_chance.pick(orchard.trees.size()));
    return {walk(x + watering::kStand, "walk"), act("water", kGestureSeconds),
            Puff{"fx-water", x + watering::kWaterX, watering::kWaterY},
            act("idle", watering::kRest.least + watering::kRest.spread * m_chance())};
}

std::vector<ErrandPlanner::Step> ErrandPlanner::harvester(const Orchard& orchard, const Ground& ground) {
    // A full crate takes nothing more, so the harvester does not pretend to pick.
    if (!orchard.crateFull()) {
        const std::vector<std::size_t> ripe = treesWhere(orchard.trees, [](const Tree& t) { return t.fruit > 0; });
        if (!ripe.empty()) {
            const double x = ground.treeX(ripe[m_chance.pick(ripe.size())]);
            return {walk(x + picking::kStand, "walk"), act("pick", kGestureSeconds),
                    walk(ground.originX + picking::kCrateSpot, "carry"),
                    Puff{"fx-sparkle", ground.originX + picking::kSparkleX, 0, Puff::On::crate},
                    act("idle", picking::kAfterDrop)};
        }
    }
    if (m_chance() < picking::kSniffChance) {
        return {act("sniff", kGestureSeconds), act("idle", picking::kAfterSniff)};
    }
    return idle();
}

std::vector<ErrandPlanner::Step> ErrandPlanner::idle() {
    return {act("idle", kIdle.least + kIdle.spread * m_chance())};
}

} // namespace pipfield
