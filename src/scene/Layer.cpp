#include "scene/Layer.h"

#include "scene/Compositor.h"

#include <algorithm>

namespace pipfield {

namespace {

quint64 nextLayerId() {
    static quint64 next = 0;
    return ++next;
}

} // namespace

Layer::Layer() : m_id(nextLayerId()) {}

Layer::~Layer() {
    for (const auto& child : m_children) {
        child->m_parent = nullptr;
    }
}

std::shared_ptr<Layer> Layer::create() {
    return std::shared_ptr<Layer>(new Layer());
}

void Layer::touch() {
    if (m_host != nullptr) {
        m_host->setNeedsFlush();
    }
}

void Layer::setHost(Compositor* host) {
    m_host = host;
    if (host != nullptr) {
        // Animations added before the layer was in the tree start now, when it is first shown,
        // not at some instant long gone.
        for (auto& entry : m_animations) {
            if (!entry.second.beginTime()) {
                entry.second.beginAt(host->now());
            }
        }
    }
    for (const auto& child : m_children) {
        child->setHost(host);
    }
}

void Layer::setPosition(QPointF position) {
    if (position == m_position) {
        return;
    }
    m_position = position;
    touch();
}

void Layer::setBounds(QSizeF bounds) {
    if (bounds == m_bounds) {
        return;
    }
    m_bounds = bounds;
    touch();
}

void Layer::setAnchor(QPointF anchor) {
    if (anchor == m_anchor) {
        return;
    }
    m_anchor = anchor;
    touch();
}

void Layer::setZ(double z) {
    if (z == m_z) {
        return;
    }
    m_z = z;
    if (m_parent != nullptr) {
        // Children are kept in drawing order; equal z keeps the order of adding.
        auto& siblings = m_parent->m_children;
        std::stable_sort(siblings.begin(), siblings.end(),
                         [](const auto& a, const auto& b) { return a->m_z < b->m_z; });
    }
    touch();
}

void Layer::setContents(const QImage& contents) {
    if (contents.cacheKey() == m_contents.cacheKey()) {
        return;
    }
    m_contents = contents;
    touch();
}

void Layer::setOpacity(double opacity) {
    if (opacity == m_opacity) {
        return;
    }
    m_opacity = opacity;
    touch();
}

void Layer::setFlipped(bool flipped) {
    if (flipped == m_flipped) {
        return;
    }
    m_flipped = flipped;
    touch();
}

void Layer::setClips(bool clips) {
    if (clips == m_clips) {
        return;
    }
    m_clips = clips;
    touch();
}

void Layer::show(const QImage& image) {
    setContents(image);
    const double ratio = image.devicePixelRatio() > 0 ? image.devicePixelRatio() : 1.0;
    setBounds(QSizeF(image.width() / ratio, image.height() / ratio));
}

void Layer::addChild(const std::shared_ptr<Layer>& child) {
    if (!child || child.get() == this) {
        return;
    }
    child->removeFromParent();
    child->m_parent = this;
    const auto at = std::upper_bound(m_children.begin(), m_children.end(), child->m_z,
                                     [](double z, const auto& other) { return z < other->m_z; });
    m_children.insert(at, child);
    child->setHost(m_host);
    touch();
}

void Layer::removeFromParent() {
    Layer* parent = m_parent;
    if (parent == nullptr) {
        return;
    }
    // The last owner may be the parent's list: keep this layer alive until it is detached.
    const std::shared_ptr<Layer> self = shared_from_this();
    parent->touch();
    auto& siblings = parent->m_children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    m_parent = nullptr;
    setHost(nullptr);
}

void Layer::removeAllChildren() {
    if (m_children.empty()) {
        return;
    }
    for (const auto& child : m_children) {
        child->m_parent = nullptr;
        child->setHost(nullptr);
    }
    m_children.clear();
    touch();
}

void Layer::addAnimation(const QString& key, Animation animation) {
    if (!animation.beginTime() && m_host != nullptr) {
        animation.beginAt(m_host->now());
    }
    removeAnimation(key);
    m_animations.emplace_back(key, std::move(animation));
    touch();
}

void Layer::removeAnimation(const QString& key) {
    const auto old =
        std::remove_if(m_animations.begin(), m_animations.end(), [&](const auto& entry) { return entry.first == key; });
    if (old == m_animations.end()) {
        return;
    }
    m_animations.erase(old, m_animations.end());
    touch();
}

const Animation* Layer::animation(const QString& key) const {
    for (const auto& [k, a] : m_animations) {
        if (k == key) {
            return &a;
        }
    }
    return nullptr;
}

LayerState Layer::presentation(double t) const {
    LayerState state{m_position, m_opacity, &m_contents};
    for (const auto& entry : m_animations) {
        entry.second.apply(t, state);
    }
    return state;
}

QRectF Layer::frameAt(QPointF position) const {
    const double w = m_bounds.width();
    const double h = m_bounds.height();
    double left = position.x() - m_anchor.x() * w;
    if (m_flipped) {
        left = position.x() - (1 - m_anchor.x()) * w;
    }
    return QRectF(left, position.y() - m_anchor.y() * h, w, h);
}

double Layer::nextChange(double t) const {
    double next = Animation::kForever;
    for (const auto& entry : m_animations) {
        next = std::min(next, entry.second.nextChange(t));
    }
    return next;
}

void Layer::pruneAnimations(double t) {
    std::erase_if(m_animations, [t](const auto& entry) { return entry.second.finished(t); });
}

double Layer::beat(double t) const {
    for (const auto& entry : m_animations) {
        const Animation& a = entry.second;
        if (a.beat() > 0 && a.beginTime() && t < *a.beginTime() + a.duration() - 1e-9) {
            return a.beat();
        }
    }
    return 0;
}

} // namespace pipfield
