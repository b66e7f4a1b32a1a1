#include "scene/Backdrop.h"

#include "game/Texts.h"
#include "model/Orchard.h"
#include "scene/Layer.h"
#include "scene/OrchardView.h"
#include "scene/Sprite.h"

#include <algorithm>
#include <vector>

namespace pipfield {

Backdrop::Backdrop(Sprite& sprites, const std::shared_ptr<Layer>& root)
    : m_sprites(sprites), m_ground(Layer::create()), m_decor(Layer::create()) {
    m_ground->setAnchor({0, 0});
    m_ground->setClips(true);
    m_decor->setAnchor({0, 0});
    m_decor->setZ(5);
    root->addChild(m_ground);
    root->addChild(m_decor);
}

void Backdrop::follow(std::size_t trees, Season season, double originX,
                      const std::function<double(std::size_t)>& treeX) {
    if (m_groundTrees != trees) {
        layOutGround(trees, originX);
        m_builtSeason.reset();
    }
    if (m_builtSeason != season) {
        buildDecor(trees, season, originX, treeX);
    }
}

void Backdrop::forget() {
    m_groundTrees.reset();
    m_builtSeason.reset();
}

void Backdrop::layOutGround(std::size_t n, double originX) {
    m_groundTrees = n;
    m_ground->removeAllChildren();
    const std::optional<QImage> tile = m_sprites.image(QStringLiteral("ground-0"), std::nullopt, Grading::graded);
    if (!tile) {
        return;
    }
    const double ratio = tile->devicePixelRatio();
    const double w = tile->width() / ratio;
    const double h = tile->height() / ratio;
    if (w <= 0) {
        return;
    }
    const double width = 190 + 60 * static_cast<double>(std::min(n, Orchard::maxTrees - 1));
    m_ground->setPosition({originX - 6, 0});
    m_ground->setBounds({width, h});
    int k = 0;
    for (double x = 0; x < width; x += w, ++k) {
        auto piece = Sprite::layer(*tile);
        // Every second tile is mirrored so that the repetition does not show; anchored at its
        // right edge, the mirror still covers x to x + w.
        const bool mirrored = k % 2 == 1;
        piece->setAnchor({mirrored ? 1.0 : 0.0, 0});
        piece->setFlipped(mirrored);
        piece->setPosition({x, 0});
        m_ground->addChild(piece);
    }
}

void Backdrop::buildDecor(std::size_t n, Season season, double originX,
                          const std::function<double(std::size_t)>& treeX) {
    m_builtSeason = season;
    m_decor->removeAllChildren();
    const std::optional<QImage> image =
        m_sprites.image(QStringLiteral("season-") + fromStd(rawValue(season)), std::nullopt, Grading::graded);
    if (!image) {
        return;
    }
    const double end = treeX(std::min(n, Orchard::maxTrees - 1)) + 34;
    std::vector<double> xs;
    switch (season) {
    case Season::winter:
        xs = {end - 18};
        break;
    case Season::summer:
        xs = {originX + 96};
        break;
    case Season::spring:
    case Season::autumn:
        xs.push_back(originX + 100);
        // Halfway between every third pair of trees, starting after the third tree.
        for (std::size_t i = 2; i + 1 < n; i += 3) {
            xs.push_back(treeX(i) + 30);
        }
        xs.push_back(end - 14);
        break;
    }
    for (double x : xs) {
        auto piece = Sprite::layer(*image);
        piece->setPosition({OrchardView::snap(x), 4});
        m_decor->addChild(piece);
    }
}

} // namespace pipfield
