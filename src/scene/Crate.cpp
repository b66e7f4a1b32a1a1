#include "scene/Crate.h"

#include "model/Orchard.h"
#include "scene/Animation.h"
#include "scene/OrchardView.h"
#include "scene/SceneClock.h"
#include "scene/Sprite.h"

namespace pipfield {

Crate::Crate(Sprite& sprites, SceneClock& clock) : m_sprites(sprites), m_clock(clock), m_layer(Sprite::layer()) {
    m_layer->setZ(15);
}

void Crate::place(double originX) {
    m_layer->setPosition({originX + 30, 4});
}

void Crate::follow(const Orchard& orchard, Motion motion) {
    const std::int64_t count = orchard.crateCount();
    const std::int64_t capacity = orchard.crateCapacity();
    int fill = 0;
    if (count > 0) {
        fill = capacity > 0 && static_cast<double>(count) / static_cast<double>(capacity) < 0.7 ? 1 : 2;
    }
    const QString name = QStringLiteral("crate-") + QString::number(fill);
    if (name != m_shown) {
        // A missing picture keeps the old one. The sprite store remembers what it could not find, so
        // the ticks that ask again change nothing until the program is started anew.
        if (const std::optional<QImage> image = m_sprites.image(name, std::nullopt, Grading::graded)) {
            m_shown = name;
            m_layer->show(*image);
        }
    }
    const bool full = orchard.crateFull();
    if (full && !m_sparkle && motion == Motion::lively) {
        QList<QImage> frames = m_sprites.frames(QStringLiteral("fx-sparkle"), std::nullopt, Grading::graded);
        if (frames.isEmpty()) {
            return;
        }
        auto sparkle = Sprite::layer(frames.front());
        const QSizeF crate = m_layer->bounds();
        // On a half point: the burst is an odd number of pixels wide, so its edges fall on whole
        // pixels, where it was always drawn, and it is copied into the strip without a painter.
        sparkle->setPosition({OrchardView::snap(crate.width() * 0.8), crate.height() - 6});
        sparkle->setZ(1);
        // A burst, then a pause as long as four frames.
        for (int i = 0; i < 4; ++i) {
            frames.append(Sprite::blank());
        }
        // On the beat of the workers' tool flip-books, which turn at the same pace.
        sparkle->addAnimation(QStringLiteral("anim"),
                              Sprite::flipbook(frames, 0.12).beginAt(Animation::nextBeat(m_clock.now(), 0.12)));
        m_layer->addChild(sparkle);
        m_sparkle = sparkle;
    } else if (m_sparkle && (!full || motion == Motion::saving)) {
        // Reduced motion leaves a burst that has begun, but the power saver takes it away for as
        // long as it is on: it often comes on with the crate already full, if only because the
        // desktop answers after the first look at the game.
        m_sparkle->removeFromParent();
        m_sparkle.reset();
    }
}

void Crate::forget() {
    m_shown.clear();
    if (m_sparkle) {
        m_sparkle->removeFromParent();
        m_sparkle.reset();
    }
}

} // namespace pipfield
