#include "scene/Grove.h"

#include "game/Texts.h"
#include "model/Tree.h"
#include "scene/Effects.h"
#include "scene/Layer.h"
#include "scene/Sprite.h"

namespace pipfield {

Grove::Grove(Sprite& sprites, std::shared_ptr<Layer> root, Effects& effects)
    : m_sprites(sprites), m_root(std::move(root)), m_effects(effects) {}

QString Grove::picture(TreeKind kind, TreeStage stage) {
    return QStringLiteral("tree-") + fromStd(rawValue(kind)) + u'-' + QString::number(artNumber(stage));
}

void Grove::follow(const std::vector<Tree>& trees, const std::function<double(std::size_t)>& treeX) {
    const std::size_t n = trees.size();
    while (m_trees.size() < n) {
        auto layer = Sprite::layer();
        layer->setZ(10);
        layer->setPosition({treeX(m_trees.size()), 6});
        m_root->addChild(layer);
        m_trees.push_back({layer, std::nullopt});
        // The first tree simply stands there; every later one is planted with a puff of dust.
        if (m_trees.size() >= 2) {
            m_effects.puff(QStringLiteral("fx-dust"), layer->position(), 0.1, Grading::graded);
        }
    }
    while (m_trees.size() > n) {
        m_trees.back().layer->removeFromParent();
        m_trees.pop_back();
    }
    for (std::size_t i = 0; i < n; ++i) {
        PlantedTree& plot = m_trees[i];
        const PlantedTree::Shown now{trees[i].kind, trees[i].stage()};
        if (plot.shown == now) {
            continue;
        }
        const std::optional<QImage> image =
            m_sprites.image(picture(now.kind, now.stage), std::nullopt, Grading::graded);
        if (!image) {
            continue;
        }
        // A redrawn tree, or one replanted with another kind, did not grow.
        bool grew = false;
        if (plot.shown && plot.shown->kind == now.kind) {
            const TreeStage before = plot.shown->stage;
            const bool matured = isGrowing(before) && !isGrowing(now.stage);
            const bool fruited = now.stage == TreeStage::bearing && before != TreeStage::bearing;
            grew = matured || fruited;
        }
        plot.shown = now;
        plot.layer->show(*image);
        if (grew) {
            m_effects.puff(QStringLiteral("fx-sparkle"), {treeX(i) + 8, plot.layer->bounds().height() * 0.6 + 6}, 0.1,
                           Grading::graded);
        }
    }
}

void Grove::place(const std::function<double(std::size_t)>& treeX) {
    for (std::size_t i = 0; i < m_trees.size(); ++i) {
        m_trees[i].layer->setPosition({treeX(i), 6});
    }
}

void Grove::forget() {
    for (PlantedTree& plot : m_trees) {
        plot.shown.reset();
    }
}

std::optional<std::size_t> Grove::hit(QPointF point) const {
    for (std::size_t i = 0; i < m_trees.size(); ++i) {
        if (m_trees[i].layer->frame().contains(point)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace pipfield
