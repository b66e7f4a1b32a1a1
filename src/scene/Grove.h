#pragma once

#include "model/Catalog.h"
#include "model/TreeStage.h"

#include <QPointF>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pipfield {

class Effects;
class Layer;
class Sprite;
struct Tree;

/// One plot of the scene: its layer and the picture it shows.
struct PlantedTree {
    struct Shown {
        TreeKind kind;
        TreeStage stage;
        bool operator==(const Shown&) const = default;
    };

    std::shared_ptr<Layer> layer;
    /// None before the first picture and after a redraw.
    std::optional<Shown> shown;
};

/// The planted trees of the scene, one record a plot, following the orchard's trees.
class Grove {
public:
    Grove(Sprite& sprites, std::shared_ptr<Layer> root, Effects& effects);

    const std::vector<PlantedTree>& trees() const { return m_trees; }

    /// The picture of a tree of a kind at a stage.
    static QString picture(TreeKind kind, TreeStage stage);

    /// Plants, uproots and redraws plots to match the orchard's trees. Every tree after the first is
    /// planted with a puff of dust; a tree that matures or starts bearing sparkles.
    void follow(const std::vector<Tree>& trees, const std::function<double(std::size_t)>& treeX);
    /// Stands every plot where `treeX` puts it.
    void place(const std::function<double(std::size_t)>& treeX);
    /// Forgets every picture shown, so that the next follow() draws them anew without sparkles.
    void forget();
    /// The plot under a point of the scene.
    std::optional<std::size_t> hit(QPointF point) const;

private:
    Sprite& m_sprites;
    std::shared_ptr<Layer> m_root;
    Effects& m_effects;
    std::vector<PlantedTree> m_trees;
};

} // namespace pipfield
