#include "model/Orchard.h"
#include "model/SaveFile.h"

#include <benchmark/benchmark.h>

namespace pipfield {
namespace {

// Ten grown trees of the better kinds, every role at level 20 with its second worker.
Orchard lateGame() {
    Orchard o = Orchard::starter();
    o.trees.clear();
    const TreeKind kinds[] = {TreeKind::pink,      TreeKind::golden, TreeKind::grapefruit, TreeKind::buddha,
                              TreeKind::hallabong, TreeKind::blood,  TreeKind::kumquat,    TreeKind::calamansi,
                              TreeKind::yuja,      TreeKind::eureka};
    for (TreeKind k : kinds) {
        o.trees.push_back(Tree{k, 0, 0, 0});
        o.unlocked.insert(k);
        o.everPlanted.insert(k);
    }
    for (WorkerRole r : allWorkerRoles) {
        o.workers.set(r, 20);
        o.extraWorkers.insert(r);
        o.setLook(WorkerLook{1, 3, "하루"}, r, 1);
    }
    o.crateLevel = 12;
    o.coins = 123'456'789;
    o.totals = Totals{90000, 80000, 4'500'000, 40};
    return o;
}

void BM_Step(benchmark::State& state) {
    Orchard o = lateGame();
    o.advance(7200, Season::summer); // grown, bearing, crate filling
    o.crate = {};
    for (auto _ : state) {
        o.step(1.0, Season::summer);
        if (o.crateCount() >= o.crateCapacity()) {
            o.crate = {}; // keep the harvester busy, as in play
        }
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_Step);

void BM_CatchUp72h(benchmark::State& state) {
    const Orchard start = lateGame();
    for (auto _ : state) {
        Orchard o = start;
        o.advance(259200, Season::autumn);
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_CatchUp72h)->Unit(benchmark::kMicrosecond);

// Ten new golden trees and a level-1 harvester never fill a level-18 crate within 48 hours,
// so the forecast runs every one of its 34,560 steps.
void BM_ForecastWorstCase(benchmark::State& state) {
    Orchard o = Orchard::starter();
    o.trees.assign(10, Tree{TreeKind::golden, 0, 0, 0});
    o.crateLevel = 18;
    for (auto _ : state) {
        benchmark::DoNotOptimize(o.timeUntilCrateFull(Season::winter));
    }
}
BENCHMARK(BM_ForecastWorstCase)->Unit(benchmark::kMicrosecond);

Save lateGameSave() {
    Orchard o = lateGame();
    o.advance(3 * 3600, Season::spring);
    Save save{o, 786801600.25, {}};
    save.weekStarts["2026-W48"] = Totals{80000, 70000, 4'000'000, 38};
    save.weekStarts["2026-W49"] = Totals{85000, 75000, 4'200'000, 39};
    return save;
}

void BM_SaveEncode(benchmark::State& state) {
    const Save save = lateGameSave();
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodeSave(save));
    }
}
BENCHMARK(BM_SaveEncode)->Unit(benchmark::kMicrosecond);

void BM_SaveDecode(benchmark::State& state) {
    const std::string text = *encodeSave(lateGameSave());
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodeSave(text));
    }
}
BENCHMARK(BM_SaveDecode)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace pipfield
