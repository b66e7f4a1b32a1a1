// The workers' part of OrchardView: who is on the scene and what each does next.

#include "scene/OrchardView.h"

#include "game/Game.h"
#include "model/Balance.h"

#include <QPointer>

namespace pipfield {

namespace {

Worker::Step act(const char* anim, double seconds) {
    return Worker::Act{QString::fromLatin1(anim), seconds};
}

Worker::Step walk(double to, const char* anim) {
    return Worker::Walk{to, QString::fromLatin1(anim)};
}

} // namespace

void OrchardView::syncWorkers() {
    const Orchard& orchard = m_game.orchard();
    for (WorkerRole role : allWorkerRoles) {
        const std::int64_t level = orchard.level(role);
        const int tier = Balance::gearTier(level);
        for (int slot = 0; slot < 2; ++slot) {
            const std::string key = slotKey(role, slot);
            const QString name = QString::fromStdString(key);
            const bool wanted = level != 0 && (slot == 0 || orchard.extraWorkers.contains(role));
            const auto it = m_workers.find(name);
            if (!wanted) {
                if (it != m_workers.end()) {
                    it->second->layer()->removeFromParent();
                    m_workers.erase(it);
                }
                continue;
            }
            const auto stored = orchard.looks.find(key);
            const WorkerLook look = stored != orchard.looks.end() ? stored->second : WorkerLook{slot, 0, ""};
            if (it != m_workers.end()) {
                Worker& worker = *it->second;
                if (worker.look() == look && worker.tier() == tier)
                    continue;
                const bool rose = tier > worker.tier();
                worker.restyle(look, tier);
                if (rose)
                    celebrate(worker);
                continue;
            }
            double x = 0;
            if (role == WorkerRole::harvester) {
                // Beside the crate.
                x = m_originX + 48 + 10 * slot;
            } else {
                x = treeX(pick(std::max<std::size_t>(orchard.trees.size(), 1))) - 20;
            }
            auto worker = std::make_shared<Worker>(*this, role, slot, look, tier, x);
            m_workers.emplace(name, worker);
            m_compositor.root()->addChild(worker->layer());
            worker->next();
        }
    }
}

std::vector<Worker::Step> OrchardView::plan(const Worker& worker) {
    const Orchard& orchard = m_game.orchard();
    const std::vector<Tree>& trees = orchard.trees;
    const std::size_t n = trees.size();
    const QPointer<OrchardView> self(this);
    const auto idleErrand = [&] { return std::vector<Worker::Step>{act("idle", 3 + 3 * m_random())}; };

    switch (worker.role()) {
    case WorkerRole::planter: {
        std::vector<std::size_t> growing;
        for (std::size_t i = 0; i < n; ++i) {
            if (trees[i].age < Balance::spec(trees[i].kind).grow)
                growing.push_back(i);
        }
        std::size_t t = 0;
        if (!growing.empty()) {
            t = growing[pick(growing.size())];
        } else if (m_random() < 0.4 && n > 0) {
            t = pick(n);
        } else {
            if (m_random() < 0.35)
                return {act("wave", 1.44), act("idle", 2.0)};
            return idleErrand();
        }
        const double x = treeX(t);
        return {walk(x - 20, "walk"), act("dig", 1.44), Worker::Run{[self, x] {
                    if (self)
                        self->puff(QStringLiteral("fx-dust"), {x - 10, 6}, 0.1, Grading::graded);
                }},
                act("idle", 1 + 2 * m_random())};
    }
    case WorkerRole::caretaker: {
        if (m_random() < 0.18)
            return {act("yawn", 1.44), act("idle", 2.0)};
        if (n == 0)
            return {act("idle", 3.0)};
        const double x = treeX(pick(n));
        return {walk(x - 22, "walk"), act("water", 1.44), Worker::Run{[self, x] {
                    if (self)
                        self->puff(QStringLiteral("fx-water"), {x - 4, 8}, 0.1, Grading::graded);
                }},
                act("idle", 1.5 + 2.5 * m_random())};
    }
    case WorkerRole::harvester: {
        // A full crate takes nothing more, so the harvester does not pretend to pick.
        if (orchard.crateCount() < orchard.crateCapacity()) {
            std::vector<std::size_t> ripe;
            for (std::size_t i = 0; i < n; ++i) {
                if (trees[i].fruit > 0)
                    ripe.push_back(i);
            }
            if (!ripe.empty()) {
                const double x = treeX(ripe[pick(ripe.size())]);
                return {walk(x - 14, "walk"), act("pick", 1.44), walk(m_originX + 48, "carry"), Worker::Run{[self] {
                            if (self)
                                self->puff(QStringLiteral("fx-sparkle"),
                                           {self->originX() + 30, self->crateLayer()->bounds().height()}, 0.1,
                                           Grading::graded);
                        }},
                        act("idle", 0.6)};
            }
        }
        if (m_random() < 0.3)
            return {act("sniff", 1.44), act("idle", 2.5)};
        return idleErrand();
    }
    }
    return idleErrand();
}

} // namespace pipfield
