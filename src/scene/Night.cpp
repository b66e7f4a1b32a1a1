#include "scene/Night.h"

#include "scene/Chance.h"
#include "scene/Effects.h"
#include "scene/Grade.h"
#include "scene/Layer.h"
#include "scene/Sprite.h"

#include <QLinearGradient>
#include <QPainter>

namespace pipfield {

namespace {

const QColor kSkyTop(0x9f, 0xd4, 0xf2);
const QColor kSkyBottom(0xd8, 0xef, 0xfb);

} // namespace

Night::Night(Sprite& sprites, std::shared_ptr<Layer> root, const Chance& chance, Effects& effects)
    : m_sprites(sprites), m_root(std::move(root)), m_chance(chance), m_effects(effects) {}

void Night::follow(bool night, double originX, Motion motion, std::size_t trees,
                   const std::function<double(std::size_t)>& treeX) {
    if (m_built && *m_built == night && m_builtMotion == motion) {
        if (night && motion == Motion::lively && m_chance() < 0.24 && trees > 0) {
            const double x = treeX(m_chance.pick(trees)) + m_chance.uniform(-24, 24);
            const double y = m_chance.uniform(26, 60);
            const QList<QImage> frames = m_sprites.frames(QStringLiteral("fx-firefly"), std::nullopt, Grading::asIs);
            if (!frames.isEmpty()) {
                m_effects.playOnce(frames, {x, y}, 0.25);
            }
        }
        return;
    }
    m_built = night;
    m_builtMotion = motion;
    if (m_lantern) {
        m_lantern->removeFromParent();
        m_lantern.reset();
    }
    const QList<QImage> frames = m_sprites.frames(QStringLiteral("lantern"), std::nullopt, Grading::asIs);
    if (!night || frames.isEmpty()) {
        return;
    }
    auto lantern = Sprite::layer(frames.front());
    lantern->setPosition({originX + 64, 4});
    lantern->setZ(6);
    if (frames.size() >= 2 && motion != Motion::still) {
        lantern->addAnimation(QStringLiteral("anim"), Sprite::flipbook(frames, motion == Motion::saving ? 1.4 : 0.7));
    }
    m_root->addChild(lantern);
    m_lantern = lantern;
}

QColor Night::skyTop(const Grade& grade) {
    return grade.apply(kSkyTop);
}

QColor Night::skyBottom(const Grade& grade) {
    return grade.apply(kSkyBottom);
}

QImage Night::sky(QSize size, int scale, const Grade& grade) {
    QImage sky(size * scale, QImage::Format_ARGB32_Premultiplied);
    sky.setDevicePixelRatio(scale);
    QPainter painter(&sky);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, skyTop(grade));
    gradient.setColorAt(1, skyBottom(grade));
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    painter.end();
    return sky;
}

} // namespace pipfield
