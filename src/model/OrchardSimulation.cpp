#include "model/Balance.h"
#include "model/Harvesting.h"
#include "model/Orchard.h"
#include "model/Saturating.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pipfield {
namespace {

constexpr double kForecastHorizon = 172800; // 48 hours
constexpr int kStepsPerMinute = 12;

// A growing tree leaves its first stage at this share of its grow time and its second at the next.
constexpr double kSaplingShare = 0.15;
constexpr double kYoungShare = 0.45;
// A mature tree blossoms once this share of the time to its next fruit has passed.
constexpr double kBlossomShare = 0.4;

void addPicked(Orchard& orchard, TreeKind kind, std::int64_t n) {
    orchard.crate.add(kind, n);
    orchard.harvestedByKind.add(kind, n);
    orchard.totals.harvested = saturatingAdd(orchard.totals.harvested, n);
}

// Grows the fruit of a mature, not yet full tree by d seconds of growth; true when it changed.
// Kept out of line: it runs on the rare step that adds a fruit, and the hot loop stays small.
[[gnu::noinline]] bool bearFruit(Tree& tree, const Balance::TreeSpec& spec, double d) {
    double progress = tree.progress + d;
    std::int64_t fruit = tree.fruit;
    // In play this loop runs once or twice; the bound only matters for hand-edited values.
    for (int i = 0; progress >= spec.interval && fruit < spec.capacity; ++i) {
        if (i == 64) {
            const std::int64_t due = truncateToInt64(std::floor(progress / spec.interval));
            const std::int64_t n = std::min(due, saturatingSub(spec.capacity, fruit));
            fruit = saturatingAdd(fruit, n);
            progress = std::max(0.0, progress - static_cast<double>(n) * spec.interval);
            break;
        }
        fruit += 1;
        progress -= spec.interval;
    }
    if (fruit >= spec.capacity) {
        progress = 0; // a full tree stores no partial fruit
    }
    const bool changed = progress != tree.progress || fruit != tree.fruit;
    tree.progress = progress;
    tree.fruit = fruit;
    return changed;
}

// Takes `picks` fruit the way repeated single picks from the fullest tree would: every tree above some
// level h is cut down to h, then the lowest plots still at h give one more each.
void levelTrees(Orchard& orchard, std::int64_t picks) {
    auto above = [&](std::int64_t h) {
        std::int64_t sum = 0;
        for (const Tree& t : orchard.trees) {
            if (t.fruit > h) {
                sum = saturatingAdd(sum, saturatingSub(t.fruit, h));
            }
        }
        return sum;
    };
    std::int64_t top = 0;
    for (const Tree& t : orchard.trees) {
        top = std::max(top, t.fruit);
    }
    // The smallest h in [0, top] with above(h) <= picks; above() falls as h rises.
    std::int64_t lo = 0;
    std::int64_t hi = top;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (above(mid) <= picks) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    const std::int64_t h = lo;
    std::int64_t rest = picks - above(h);
    for (Tree& t : orchard.trees) {
        if (t.fruit < h || t.fruit < 1) {
            continue;
        }
        std::int64_t n = t.fruit - h;
        if (rest > 0 && h >= 1) {
            n += 1;
            rest -= 1;
        }
        if (n > 0) {
            t.fruit -= n;
            addPicked(orchard, t.kind, n);
        }
    }
}

} // namespace

namespace detail {

std::int64_t pickIntoCrate(Orchard& orchard, double& budget, std::int64_t capacity, std::int64_t oneByOneLimit) {
    std::int64_t count = orchard.crateCount();
    std::int64_t picked = 0;
    while (budget >= 1) {
        if (count >= capacity || orchard.trees.empty()) {
            break;
        }
        if (picked >= oneByOneLimit) {
            std::int64_t fruit = 0;
            for (const Tree& t : orchard.trees) {
                fruit = t.fruit > 0 ? saturatingAdd(fruit, t.fruit) : fruit;
            }
            const std::int64_t n =
                std::min({truncateToInt64(std::floor(budget)), saturatingSub(capacity, count), fruit});
            if (n > 0) {
                levelTrees(orchard, n);
                budget -= static_cast<double>(n);
                picked = saturatingAdd(picked, n);
            }
            break;
        }
        std::size_t best = 0;
        std::int64_t most = orchard.trees[0].fruit;
        for (std::size_t i = 1; i < orchard.trees.size(); ++i) {
            const std::int64_t fruit = orchard.trees[i].fruit;
            if (fruit > most) {
                most = fruit;
                best = i;
            }
        }
        if (most < 1) {
            break;
        }
        Tree& tree = orchard.trees[best];
        tree.fruit -= 1;
        addPicked(orchard, tree.kind, 1);
        count = saturatingAdd(count, 1);
        budget -= 1;
        ++picked;
    }
    return picked;
}

} // namespace detail

namespace {

// What a step of a given length and season adds; the same for every step of a catch-up or forecast,
// so it is worked out once rather than per step.
struct StepRates {
    double growth;  // seconds of growth each tree gains
    double harvest; // fruit the harvester crew earns
    std::int64_t capacity;
};

StepRates ratesFor(const Orchard& o, double dt, Season season) {
    const double g = Balance::growthMultiplier(o.level(WorkerRole::caretaker), o.staff(WorkerRole::caretaker), season);
    const double rate = Balance::harvestRate(o.level(WorkerRole::harvester), o.staff(WorkerRole::harvester), season);
    return StepRates{g * dt, rate * dt, o.crateCapacity()};
}

bool stepWith(Orchard& o, const StepRates& rates) {
    const double d = rates.growth;
    // A growing or bearing tree is counted as changed whenever time moves it at all. That may call
    // a step "changed" that moved nothing (a hand-edited age so large that adding d is lost), which
    // only forgoes a shortcut; it never calls a real change unchanged.
    const bool moving = d != 0;
    bool changed = false;
    for (Tree& tree : o.trees) {
        const Balance::TreeSpec& spec = Balance::spec(tree.kind);
        if (tree.growing()) {
            // Growth left over at maturity is not carried into fruit.
            tree.age = std::min(tree.age + d, spec.grow);
            changed |= moving;
        } else if (tree.fruit < spec.capacity) {
            const double progress = tree.progress + d;
            if (progress < spec.interval) {
                // Most steps of a bearing tree add no fruit.
                tree.progress = progress;
                changed |= moving;
            } else {
                changed |= bearFruit(tree, spec, d);
            }
        }
    }
    double budget = o.harvestBudget + rates.harvest;
    if (budget >= 1) {
        changed |= detail::pickIntoCrate(o, budget, rates.capacity) > 0;
    }
    // With nothing to pick or no room, at most one fruit's worth of progress is kept, so no burst follows.
    const double kept = std::min(budget, 1.0);
    changed |= kept != o.harvestBudget;
    o.harvestBudget = kept;
    return changed;
}

} // namespace

bool Orchard::stepReportingChange(double dt, Season season) {
    return stepWith(*this, ratesFor(*this, dt, season));
}

void Orchard::advance(double seconds, Season season) {
    const StepRates whole = ratesFor(*this, stepSeconds, season);
    double remaining = seconds;
    while (remaining > 0) {
        const double dt = std::min(remaining, stepSeconds);
        const bool changed = dt == stepSeconds ? stepWith(*this, whole) : stepReportingChange(dt, season);
        remaining -= dt;
        if (!changed && dt == stepSeconds && remaining >= stepSeconds) {
            // Every further whole step would change nothing; skip to the final remainder. fmod is exact
            // and equals what repeated subtraction of 5 leaves.
            remaining = std::fmod(remaining, stepSeconds);
        }
    }
}

std::optional<double> Orchard::advanceWatchingCrate(double seconds, Season season) {
    if (crateFull()) {
        advance(seconds, season);
        return 0.0;
    }
    // The same slices as advance(), checked after each; once the crate is full, or nothing changes any
    // more, the rest is left to advance() with its shortcut.
    const StepRates whole = ratesFor(*this, stepSeconds, season);
    double remaining = seconds;
    while (remaining > 0) {
        const double dt = std::min(remaining, stepSeconds);
        const bool changed = dt == stepSeconds ? stepWith(*this, whole) : stepReportingChange(dt, season);
        remaining -= dt;
        if (crateFull()) {
            advance(remaining, season);
            return seconds - remaining;
        }
        if (!changed && dt == stepSeconds) {
            advance(remaining, season);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::int64_t Orchard::harvest(std::int64_t index) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= trees.size()) {
        return 0;
    }
    Tree& tree = trees[static_cast<std::size_t>(index)];
    const std::int64_t room = saturatingSub(crateCapacity(), crateCount());
    const std::int64_t n = std::min(room, tree.fruit);
    if (n < 1) {
        return 0;
    }
    tree.fruit -= n;
    addPicked(*this, tree.kind, n);
    return n;
}

std::int64_t Orchard::crateValue(Season season) const {
    const double m = Balance::saleMultiplier(level(WorkerRole::planter), staff(WorkerRole::planter));
    std::int64_t total = 0;
    crate.forEach([&](TreeKind kind, std::int64_t count) {
        const double f = Balance::seasonPrice(kind, season);
        const std::int64_t plain = saturatingMul(count, Balance::spec(kind).value);
        // Each kind is rounded on its own before the sum.
        total = saturatingAdd(total, roundHalfAway(m * static_cast<double>(plain) * f));
    });
    return total;
}

std::optional<double> Orchard::timeUntilCrateFull(Season season) const {
    if (level(WorkerRole::harvester) < 1) {
        return std::nullopt;
    }
    Orchard copy = *this;
    const StepRates rates = ratesFor(copy, stepSeconds, season);
    const std::int64_t capacity = rates.capacity;
    if (copy.crateCount() >= capacity) {
        return 0.0;
    }
    double t = 0;
    while (t < kForecastHorizon) {
        bool changed = true;
        for (int i = 0; i < kStepsPerMinute && changed; ++i) {
            changed = stepWith(copy, rates);
        }
        t += 60;
        if (copy.crateCount() >= capacity) {
            return t;
        }
        if (!changed) {
            return std::nullopt; // nothing will move any more, so the crate stays as it is
        }
    }
    return std::nullopt;
}

int Tree::growthPercent() const {
    const double percent = std::min(age / Balance::spec(kind).grow * 100, 100.0);
    return static_cast<int>(std::max(percent, 0.0));
}

bool Tree::growing() const {
    return age < Balance::spec(kind).grow;
}

TreeStage Tree::stage() const {
    const Balance::TreeSpec& spec = Balance::spec(kind);
    if (growing()) {
        const double r = age / spec.grow;
        return r < kSaplingShare ? TreeStage::seedling : r < kYoungShare ? TreeStage::sprout : TreeStage::sapling;
    }
    if (fruit >= 1) {
        return TreeStage::bearing;
    }
    return progress >= kBlossomShare * spec.interval ? TreeStage::blossom : TreeStage::mature;
}

} // namespace pipfield
