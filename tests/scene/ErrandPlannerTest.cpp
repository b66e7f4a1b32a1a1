#include "scene/ErrandPlanner.h"

#include "model/Balance.h"
#include "model/Orchard.h"
#include "support/PlainSteps.h"

#include <gtest/gtest.h>

#include <deque>

namespace pipfield::test {
namespace {

using Step = ErrandPlanner::Step;
using Walk = ErrandPlanner::Walk;
using Act = ErrandPlanner::Act;
using Puff = ErrandPlanner::Puff;

constexpr double kOrigin = 8;

ErrandPlanner::Ground ground() {
    return {kOrigin, [](std::size_t i) { return kOrigin + 150 + 60 * static_cast<double>(i); }};
}

double treeX(std::size_t i) {
    return ground().treeX(i);
}

/// Chance that answers the given values in order, taking each as it is drawn, and fails the test when one
/// more is drawn than given.
std::function<double()> scripted(std::deque<double>& values) {
    return [&values] {
        if (values.empty()) {
            ADD_FAILURE() << "one chance more than scripted";
            return 0.0;
        }
        const double v = values.front();
        values.pop_front();
        return v;
    };
}

/// The errand planned with exactly these chances.
std::vector<Step> plan(WorkerRole role, const Orchard& orchard, std::deque<double> chances) {
    const std::vector<Step> steps = ErrandPlanner(scripted(chances)).plan(role, orchard, ground());
    EXPECT_TRUE(chances.empty()) << chances.size() << " chances left undrawn";
    return steps;
}

Tree growing(TreeKind kind = TreeKind::eureka) {
    return Tree{kind, Balance::spec(kind).grow / 2, 0, 0};
}

TEST(PlanterErrand, DigsAtAGrowingTreeAndRaisesDust) {
    // Of the growing trees 1 and 3, the second chance (0.6 of two) picks tree 3.
    const Orchard o = bareOrchard({mature(), growing(), mature(), growing()});
    const std::vector<Step> steps = plan(WorkerRole::planter, o, {0.6, 0.5});
    const double x = treeX(3);
    EXPECT_EQ(steps, (std::vector<Step>{Walk{x - 20, "walk"}, Act{"dig", 1.44}, Puff{"fx-dust", x - 10, 6},
                                        Act{"idle", 2.0}}));
}

TEST(PlanterErrand, WithNothingGrowingVisitsWavesOrIdles) {
    const Orchard o = bareOrchard({mature(), mature()});
    // Below 0.4 the planter digs at any tree.
    EXPECT_EQ(plan(WorkerRole::planter, o, {0.39, 0.99, 0}).front(), Step(Walk{treeX(1) - 20, "walk"}));
    // Else a wave below 0.35, then a pause.
    EXPECT_EQ(plan(WorkerRole::planter, o, {0.4, 0.34}), (std::vector<Step>{Act{"wave", 1.44}, Act{"idle", 2.0}}));
    // Else three to six seconds of idling.
    EXPECT_EQ(plan(WorkerRole::planter, o, {0.4, 0.35, 0.5}), (std::vector<Step>{Act{"idle", 4.5}}));
    // With no tree at all there is nothing to visit, whatever the chance.
    EXPECT_EQ(plan(WorkerRole::planter, bareOrchard({}), {0.1, 0.9, 0}), (std::vector<Step>{Act{"idle", 3.0}}));
}

TEST(CaretakerErrand, WatersAnyTreeUnlessYawning) {
    const Orchard o = bareOrchard({mature(), growing(), mature()});
    const double x = treeX(2);
    EXPECT_EQ(
        plan(WorkerRole::caretaker, o, {0.18, 0.7, 0.2}),
        (std::vector<Step>{Walk{x - 22, "walk"}, Act{"water", 1.44}, Puff{"fx-water", x - 4, 8}, Act{"idle", 2.0}}));
    EXPECT_EQ(plan(WorkerRole::caretaker, o, {0.17}), (std::vector<Step>{Act{"yawn", 1.44}, Act{"idle", 2.0}}));
    EXPECT_EQ(plan(WorkerRole::caretaker, bareOrchard({}), {0.5}), (std::vector<Step>{Act{"idle", 3.0}}));
}

TEST(HarvesterErrand, PicksARipeTreeAndCarriesToTheCrate) {
    const Orchard o = bareOrchard({mature(TreeKind::eureka, 0), mature(TreeKind::eureka, 2), growing()});
    const double x = treeX(1);
    EXPECT_EQ(plan(WorkerRole::harvester, o, {0.999999}),
              (std::vector<Step>{Walk{x - 14, "walk"}, Act{"pick", 1.44}, Walk{kOrigin + 48, "carry"},
                                 Puff{"fx-sparkle", kOrigin + 30, 0, Puff::On::crate}, Act{"idle", 0.6}}));
}

TEST(HarvesterErrand, AFullCrateOrBareTreesLeaveNothingToPick) {
    Orchard full = bareOrchard({mature(TreeKind::eureka, 3)});
    full.crate.set(TreeKind::eureka, full.crateCapacity());
    EXPECT_EQ(plan(WorkerRole::harvester, full, {0.29}), (std::vector<Step>{Act{"sniff", 1.44}, Act{"idle", 2.5}}));
    EXPECT_EQ(plan(WorkerRole::harvester, full, {0.3, 0}), (std::vector<Step>{Act{"idle", 3.0}}));

    Orchard almost = full;
    almost.crate.set(TreeKind::eureka, full.crateCapacity() - 1);
    EXPECT_EQ(plan(WorkerRole::harvester, almost, {0}).front(), Step(Walk{treeX(0) - 14, "walk"}));

    EXPECT_EQ(plan(WorkerRole::harvester, bareOrchard({mature(), growing()}), {0.9, 1.0 / 3}),
              (std::vector<Step>{Act{"idle", 4.0}}));
}

TEST(ErrandPlanner, NewWorkersStartBesideTheCrateOrATree) {
    const Orchard o = bareOrchard({mature(), mature(), mature()});
    std::deque<double> chances{0.5, 0.99}; // harvesters draw none
    ErrandPlanner planner(scripted(chances));
    EXPECT_EQ(planner.startX(WorkerRole::harvester, 0, o, ground()), kOrigin + 48);
    EXPECT_EQ(planner.startX(WorkerRole::harvester, 1, o, ground()), kOrigin + 58);
    EXPECT_EQ(planner.startX(WorkerRole::planter, 0, o, ground()), treeX(1) - 20);
    // An empty orchard still gives the first plot.
    EXPECT_EQ(planner.startX(WorkerRole::caretaker, 1, bareOrchard({}), ground()), treeX(0) - 20);
    EXPECT_TRUE(chances.empty());
}

} // namespace
} // namespace pipfield::test
