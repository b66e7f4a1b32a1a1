#pragma once

#include "model/Catalog.h"
#include "scene/Sprite.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>

#include <functional>
#include <memory>

namespace pipfield {

class Chance;
class Layer;
class SceneClock;
class SceneSettings;
class Worker;

/// How much the scene moves: everything, less to save power (no effects, longer hops, slower idle
/// animations), or nothing that is not needed (reduced motion).
enum class Motion { lively, saving, still };

/// The motion `settings` allow.
Motion motionOf(const SceneSettings& settings);

/// The short-lived effects of the scene: puffs, coins, flying fruit and a worker's celebration.
/// Each effect layer removes itself when its animation ends; none is started while motion is reduced
/// or power is saved.
class Effects final : public QObject {
    Q_OBJECT

public:
    /// `originX` answers the left edge of the scene's content, `crate` is the crate's layer.
    Effects(Sprite& sprites, SceneClock& clock, std::shared_ptr<Layer> root, const Chance& chance,
            const SceneSettings& settings, std::function<double()> originX, std::shared_ptr<Layer> crate);

    /// A one-shot animation of the named frames at a point, gone when it ends.
    void puff(const QString& name, QPointF at, double perFrame, Grading grading);
    /// The frames once at a point, whatever the motion setting says.
    void playOnce(const QList<QImage>& frames, QPointF at, double perFrame);
    /// Coins spring out of the crate.
    void coinBurst();
    /// One picked fruit arcs from the tree at x `from` into the crate, starting after `delay` seconds.
    void flyFruit(double from, TreeKind kind, double delay);
    /// Sparkles and two hops for a worker whose gear improved.
    void celebrate(Worker& worker);

private:
    bool reduceMotion() const;
    double crateX() const { return m_originX() + 30; }

    Sprite& m_sprites;
    SceneClock& m_clock;
    std::shared_ptr<Layer> m_root;
    const Chance& m_chance;
    const SceneSettings& m_settings;
    std::function<double()> m_originX;
    std::shared_ptr<Layer> m_crate;
};

} // namespace pipfield
