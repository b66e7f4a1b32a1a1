#pragma once

#include "scene/Effects.h"

#include <QString>

#include <memory>

namespace pipfield {

class Layer;
class SceneClock;
class Sprite;
struct Orchard;

/// The crate at the left of the scene: a picture for how full it is, and a sparkle while it is full.
class Crate {
public:
    Crate(Sprite& sprites, SceneClock& clock);

    const std::shared_ptr<Layer>& layer() const { return m_layer; }
    /// The sparkle over a full crate; none otherwise, or while power is saved. Reduced motion
    /// starts none but leaves one that is already there.
    const std::shared_ptr<Layer>& sparkle() const { return m_sparkle; }
    /// The name of the picture shown; empty before the first and after forget().
    const QString& shown() const { return m_shown; }

    /// Stands the crate where the content starting at originX puts it.
    void place(double originX);
    /// Shows the crate as the orchard has it.
    void follow(const Orchard& orchard, Motion motion);
    /// Forgets what is shown, so that the next follow() draws everything anew.
    void forget();

private:
    Sprite& m_sprites;
    SceneClock& m_clock;
    std::shared_ptr<Layer> m_layer;
    std::shared_ptr<Layer> m_sparkle;
    QString m_shown;
};

} // namespace pipfield
