// The workers' part of OrchardView: who is on the scene and what each does next.

#include "game/Game.h"
#include "game/Texts.h"
#include "model/Balance.h"
#include "scene/OrchardView.h"

#include <QPointer>

namespace pipfield {

void OrchardView::syncWorkers() {
    const Orchard& orchard = m_game.orchard();
    for (WorkerRole role : allWorkerRoles) {
        const int tier = Balance::gearTier(orchard.level(role));
        for (int slot = 0; slot < 2; ++slot) {
            const QString name = fromStd(slotKey(role, slot));
            const auto it = m_workers.find(name);
            if (slot >= orchard.staff(role)) {
                if (it != m_workers.end()) {
                    it->second->layer()->removeFromParent();
                    m_workers.erase(it);
                }
                continue;
            }
            const WorkerLook look = orchard.look(role, slot);
            if (it != m_workers.end()) {
                Worker& worker = *it->second;
                if (worker.look() == look && worker.tier() == tier) {
                    continue;
                }
                const bool rose = tier > worker.tier();
                worker.restyle(look, tier);
                if (rose) {
                    m_effects.celebrate(worker);
                }
                continue;
            }
            const double x = m_errands.startX(role, slot, orchard, ground());
            auto worker = std::make_shared<Worker>(*this, role, slot, look, tier, x);
            m_workers.emplace(name, worker);
            m_compositor.root()->addChild(worker->layer());
            worker->next();
        }
    }
}

ErrandPlanner::Ground OrchardView::ground() const {
    return {m_originX, [this](std::size_t i) { return treeX(i); }};
}

std::vector<Worker::Step> OrchardView::plan(const Worker& worker) {
    const QPointer<OrchardView> self(this);
    std::vector<Worker::Step> steps;
    for (const ErrandPlanner::Step& step : m_errands.plan(worker.role(), m_game.orchard(), ground())) {
        if (const auto* walk = std::get_if<ErrandPlanner::Walk>(&step)) {
            steps.emplace_back(Worker::Walk{walk->to, fromStd(walk->anim)});
        } else if (const auto* act = std::get_if<ErrandPlanner::Act>(&step)) {
            steps.emplace_back(Worker::Act{fromStd(act->anim), act->seconds});
        } else if (const auto* puff = std::get_if<ErrandPlanner::Puff>(&step)) {
            // Where the crate's top lies is known only when the puff shows.
            steps.emplace_back(Worker::Run{[self, p = *puff] {
                if (!self) {
                    return;
                }
                const double base =
                    p.on == ErrandPlanner::Puff::On::crate ? self->m_crate.layer()->bounds().height() : 0;
                self->m_effects.puff(fromStd(p.name), {p.x, base + p.y}, 0.1, Grading::graded);
            }});
        }
    }
    return steps;
}

} // namespace pipfield
