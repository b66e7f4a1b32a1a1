#pragma once

#include "scene/Effects.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace pipfield {

class Chance;
class Effects;
class Layer;
class Sprite;
struct Grade;

/// The scene at night: a lantern by the crate and fireflies among the trees. Also the sky that is
/// painted under the scene where the desktop cannot show through, graded with it.
class Night {
public:
    Night(Sprite& sprites, std::shared_ptr<Layer> root, const Chance& chance, Effects& effects);

    const std::shared_ptr<Layer>& lantern() const { return m_lantern; }

    /// Once a tick: lights or puts out the lantern when night comes or goes; through a lively night,
    /// about one tick in four shows a firefly by one of `trees` trees, whose plots `treeX` places.
    void follow(bool night, double originX, Motion motion, std::size_t trees,
                const std::function<double(std::size_t)>& treeX);
    /// Forgets whether night is shown, so that the next follow() builds the lantern anew.
    void forget() { m_built.reset(); }

    /// The sky's gradient, top and bottom, under a grade.
    static QColor skyTop(const Grade& grade);
    static QColor skyBottom(const Grade& grade);
    /// The sky for a scene of `size` points at a backing scale.
    static QImage sky(QSize size, int scale, const Grade& grade);

private:
    Sprite& m_sprites;
    std::shared_ptr<Layer> m_root;
    const Chance& m_chance;
    Effects& m_effects;
    std::shared_ptr<Layer> m_lantern;
    std::optional<bool> m_built;
    Motion m_builtMotion = Motion::lively;
};

} // namespace pipfield
