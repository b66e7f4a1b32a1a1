// The short-lived effects of OrchardView. Each effect layer removes itself when its animation
// ends; the removal holds the layer, not the scene.

#include "model/Catalog.h"
#include "scene/OrchardView.h"
#include "scene/Sprite.h"

#include <QPointer>

namespace pipfield {

namespace {

constexpr double kEffectZ = 30;

} // namespace

void OrchardView::puff(const QString& name, QPointF at, double perFrame, Grading grading) {
    if (reduceMotion()) {
        return;
    }
    const QList<QImage> frames = m_sprites.frames(name, std::nullopt, grading);
    if (frames.isEmpty()) {
        return;
    }
    playOnce(frames, at, perFrame);
}

void OrchardView::playOnce(const QList<QImage>& frames, QPointF at, double perFrame) {
    auto layer = Sprite::layer(frames.front());
    layer->setZ(kEffectZ);
    layer->setPosition({snap(at.x()), at.y()});
    // A blank last frame, held: the effect ends invisible even if its removal comes late.
    QList<QImage> sequence = frames;
    sequence.append(Sprite::blank());
    const double seconds = perFrame * static_cast<double>(sequence.size());
    layer->addAnimation(QStringLiteral("anim"),
                        Animation::frames(sequence, seconds).repeat(1).fill(Animation::Fill::forwards));
    m_compositor.root()->addChild(layer);
    after(seconds, [layer] { layer->removeFromParent(); });
}

void OrchardView::coinBurst() {
    const QList<QImage> frames = m_sprites.frames(QStringLiteral("fx-coin"), std::nullopt, Grading::graded);
    if (reduceMotion() || frames.isEmpty()) {
        return;
    }
    const double h = m_crate->bounds().height();
    const double now = m_clock.now();
    for (int k = 0; k < 6; ++k) {
        const double x = snap(m_originX + 30 + uniform(-10, 10));
        auto coin = Sprite::layer(frames.front());
        coin->setZ(kEffectZ);
        coin->setPosition({x, h});
        // At rest a coin is invisible; only its rise shows it.
        coin->setOpacity(0);
        coin->addAnimation(QStringLiteral("anim"), Sprite::flipbook(frames, 0.06));
        const double dx = uniform(-14, 14);
        auto rise = Animation::move({x, h}, {x + dx, h + 30}, 0.9);
        auto fade = Animation::keyframes(Animation::Property::opacity, {1, 1, 0}, 0.9, Animation::Mode::linear)
                        .keyTimes({0, 0.75, 1});
        coin->addAnimation(QStringLiteral("burst"), Animation::group({std::move(rise), std::move(fade)}, 0.9)
                                                        .beginAt(now + 0.07 * k)
                                                        .fill(Animation::Fill::both));
        m_compositor.root()->addChild(coin);
        after(1.4, [coin] { coin->removeFromParent(); });
    }
}

void OrchardView::flyFruit(int tree, TreeKind kind, double delay) {
    if (reduceMotion()) {
        return;
    }
    const std::optional<QImage> image =
        m_sprites.image(QStringLiteral("fruit-") +
                            QString::fromUtf8(rawValue(kind).data(), static_cast<qsizetype>(rawValue(kind).size())),
                        std::nullopt, Grading::graded);
    if (!image) {
        return;
    }
    const double h = m_crate->bounds().height();
    const double crateX = m_originX + 30;
    const double from = treeX(static_cast<std::size_t>(tree));
    auto fruit = Sprite::layer(*image);
    fruit->setZ(kEffectZ);
    fruit->setPosition({snap(crateX), h});
    fruit->setOpacity(0);
    auto arc = Animation::quadratic({from, 42}, {(from + crateX) / 2, 68}, {crateX, h}, 0.6);
    auto shown = Animation::keyframes(Animation::Property::opacity, {1, 1}, 0.6, Animation::Mode::linear);
    // No backward fill: a fruit waiting for its turn stays invisible rather than hanging in the
    // air above the tree.
    fruit->addAnimation(QStringLiteral("fly"),
                        Animation::group({std::move(arc), std::move(shown)}, 0.6).beginAt(m_clock.now() + delay));
    m_compositor.root()->addChild(fruit);
    after(delay + 0.6, [fruit, self = QPointer<OrchardView>(this)] {
        fruit->removeFromParent();
        if (self) {
            self->puff(QStringLiteral("fx-sparkle"), {self->originX() + 30, self->crateLayer()->bounds().height()}, 0.1,
                       Grading::graded);
        }
    });
}

void OrchardView::celebrate(Worker& worker) {
    if (reduceMotion()) {
        return;
    }
    const std::shared_ptr<Layer> layer = worker.layer();
    const QPointF p = layer->position();
    for (int k = 0; k < 3; ++k) {
        // Three sparkles over the head, each a little lower.
        after(0.25 * k, [self = QPointer<OrchardView>(this), weak = std::weak_ptr<Layer>(layer), p, k] {
            const std::shared_ptr<Layer> body = weak.lock();
            if (!self || !body) {
                return;
            }
            self->puff(QStringLiteral("fx-sparkle"),
                       {p.x() + self->uniform(-10, 10), body->bounds().height() + p.y() - 6 * k}, 0.1, Grading::graded);
        });
    }
    layer->addAnimation(QStringLiteral("hop"), Animation::keyframes(Animation::Property::positionY,
                                                                    {p.y(), p.y() + 6, p.y(), p.y() + 4, p.y()}, 0.6,
                                                                    Animation::Mode::discrete));
}

} // namespace pipfield
