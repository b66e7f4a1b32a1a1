#include "scene/Effects.h"

#include "game/SceneSettings.h"
#include "game/Texts.h"
#include "scene/Chance.h"
#include "scene/OrchardView.h"
#include "scene/SceneClock.h"
#include "scene/Worker.h"

#include <QPointer>

namespace pipfield {

namespace {

constexpr double kEffectZ = 30;

} // namespace

Effects::Effects(Sprite& sprites, SceneClock& clock, std::shared_ptr<Layer> root, const Chance& chance,
                 const SceneSettings& settings, std::function<double()> originX, std::shared_ptr<Layer> crate)
    : m_sprites(sprites), m_clock(clock), m_root(std::move(root)), m_chance(chance), m_settings(settings),
      m_originX(std::move(originX)), m_crate(std::move(crate)) {}

Motion motionOf(const SceneSettings& settings) {
    if (settings.reduceMotion()) {
        return Motion::still;
    }
    return settings.powerSaving() ? Motion::saving : Motion::lively;
}

bool Effects::reduceMotion() const {
    return motionOf(m_settings) != Motion::lively;
}

void Effects::puff(const QString& name, QPointF at, double perFrame, Grading grading) {
    if (reduceMotion()) {
        return;
    }
    const QList<QImage> frames = m_sprites.frames(name, std::nullopt, grading);
    if (frames.isEmpty()) {
        return;
    }
    playOnce(frames, at, perFrame);
}

void Effects::playOnce(const QList<QImage>& frames, QPointF at, double perFrame) {
    auto layer = Sprite::layer(frames.front());
    layer->setZ(kEffectZ);
    layer->setPosition({OrchardView::snap(at.x()), at.y()});
    // A blank last frame, held: the effect ends invisible even if its removal comes late.
    QList<QImage> sequence = frames;
    sequence.append(Sprite::blank());
    const double seconds = perFrame * static_cast<double>(sequence.size());
    layer->addAnimation(QStringLiteral("anim"),
                        Animation::frames(sequence, seconds).repeat(1).fill(Animation::Fill::forwards));
    m_root->addChild(layer);
    // The removal holds the layer, not the scene.
    m_clock.after(seconds, [layer] { layer->removeFromParent(); });
}

void Effects::coinBurst() {
    const QList<QImage> frames = m_sprites.frames(QStringLiteral("fx-coin"), std::nullopt, Grading::graded);
    if (reduceMotion() || frames.isEmpty()) {
        return;
    }
    const double h = m_crate->bounds().height();
    const double now = m_clock.now();
    for (int k = 0; k < 6; ++k) {
        const double x = OrchardView::snap(crateX() + m_chance.uniform(-10, 10));
        auto coin = Sprite::layer(frames.front());
        coin->setZ(kEffectZ);
        coin->setPosition({x, h});
        // At rest a coin is invisible; only its rise shows it.
        coin->setOpacity(0);
        coin->addAnimation(QStringLiteral("anim"), Sprite::flipbook(frames, 0.06));
        const double dx = m_chance.uniform(-14, 14);
        auto rise = Animation::move({x, h}, {x + dx, h + 30}, 0.9);
        auto fade = Animation::keyframes(Animation::Property::opacity, {1, 1, 0}, 0.9, Animation::Mode::linear)
                        .keyTimes({0, 0.75, 1});
        coin->addAnimation(QStringLiteral("burst"), Animation::group({std::move(rise), std::move(fade)}, 0.9)
                                                        .beginAt(now + 0.07 * k)
                                                        .fill(Animation::Fill::both));
        m_root->addChild(coin);
        m_clock.after(1.4, [coin] { coin->removeFromParent(); });
    }
}

void Effects::flyFruit(double from, TreeKind kind, double delay) {
    if (reduceMotion()) {
        return;
    }
    const std::optional<QImage> image =
        m_sprites.image(QStringLiteral("fruit-") + fromStd(rawValue(kind)), std::nullopt, Grading::graded);
    if (!image) {
        return;
    }
    const double h = m_crate->bounds().height();
    const double crateX = this->crateX();
    auto fruit = Sprite::layer(*image);
    fruit->setZ(kEffectZ);
    fruit->setPosition({OrchardView::snap(crateX), h});
    fruit->setOpacity(0);
    auto arc = Animation::quadratic({from, 42}, {(from + crateX) / 2, 68}, {crateX, h}, 0.6);
    auto shown = Animation::keyframes(Animation::Property::opacity, {1, 1}, 0.6, Animation::Mode::linear);
    // No backward fill: a fruit waiting for its turn stays invisible rather than hanging in the
    // air above the tree.
    fruit->addAnimation(QStringLiteral("fly"),
                        Animation::group({std::move(arc), std::move(shown)}, 0.6).beginAt(m_clock.now() + delay));
    m_root->addChild(fruit);
    m_clock.after(delay + 0.6, [fruit, self = QPointer<Effects>(this)] {
        fruit->removeFromParent();
        if (self) {
            self->puff(QStringLiteral("fx-sparkle"), {self->crateX(), self->m_crate->bounds().height()}, 0.1,
                       Grading::graded);
        }
    });
}

void Effects::celebrate(Worker& worker) {
    if (reduceMotion()) {
        return;
    }
    const std::shared_ptr<Layer> layer = worker.layer();
    const QPointF p = layer->position();
    for (int k = 0; k < 3; ++k) {
        // Three sparkles over the head, each a little lower.
        m_clock.after(0.25 * k, [self = QPointer<Effects>(this), weak = std::weak_ptr<Layer>(layer), p, k] {
            const std::shared_ptr<Layer> body = weak.lock();
            if (!self || !body) {
                return;
            }
            self->puff(QStringLiteral("fx-sparkle"),
                       {p.x() + self->m_chance.uniform(-10, 10), body->bounds().height() + p.y() - 6 * k}, 0.1,
                       Grading::graded);
        });
    }
    layer->addAnimation(QStringLiteral("hop"), Animation::keyframes(Animation::Property::positionY,
                                                                    {p.y(), p.y() + 6, p.y(), p.y() + 4, p.y()}, 0.6,
                                                                    Animation::Mode::discrete));
}

} // namespace pipfield
