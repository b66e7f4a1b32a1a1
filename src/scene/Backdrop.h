#pragma once

#include "model/Catalog.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace pipfield {

class Layer;
class Sprite;

/// What the orchard stands on: ground tiles under the plots and the season's decorations.
class Backdrop {
public:
    Backdrop(Sprite& sprites, const std::shared_ptr<Layer>& root);

    const std::shared_ptr<Layer>& ground() const { return m_ground; }
    const std::shared_ptr<Layer>& decor() const { return m_decor; }

    /// Lays the ground out again when the number of trees changed, the decorations when that or the
    /// season did; `treeX` places the plots of content starting at originX.
    void follow(std::size_t trees, Season season, double originX, const std::function<double(std::size_t)>& treeX);
    /// Forgets what is laid out, so that the next follow() lays everything out anew.
    void forget();

private:
    void layOutGround(std::size_t trees, double originX);
    void buildDecor(std::size_t trees, Season season, double originX, const std::function<double(std::size_t)>& treeX);

    Sprite& m_sprites;
    std::shared_ptr<Layer> m_ground;
    std::shared_ptr<Layer> m_decor;
    std::optional<std::size_t> m_groundTrees;
    std::optional<Season> m_builtSeason;
};

} // namespace pipfield
