#include "scene/Compositor.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pipfield {

namespace {

// More distinct pictures than the scene ever shows at once; past it the conversions start over.
constexpr qsizetype kConvertedLimit = 2048;

} // namespace

QRect Compositor::Placement::visible() const {
    if (contents == nullptr || contents->isNull() || opacity <= 0) {
        return {};
    }
    return target.intersected(clip).toAlignedRect();
}

Compositor::Compositor(SceneClock& clock, std::function<void(const QRegion&)> invalidate)
    : m_clock(clock), m_invalidate(std::move(invalidate)), m_root(Layer::create()) {
    m_root->setAnchor({0, 0});
    m_root->setHost(this);
    m_timer.setSingleShot(true);
    // Frame times matter to a few milliseconds; a coarse timer would let hops stutter.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { flush(); });
}

Compositor::~Compositor() {
    m_root->setHost(nullptr);
}

void Compositor::setViewSize(QSizeF size) {
    if (size == m_viewSize) {
        return;
    }
    m_viewSize = size;
    m_root->setBounds(size);
    // Every y is measured from the bottom edge, so a new height moves everything.
    m_drawn.clear();
    m_shownStale = true;
    m_invalidate(QRegion(QRect(QPoint(0, 0), size.toSize())));
}

void Compositor::setNeedsFlush() {
    m_shownStale = true;
    schedule(m_clock.now());
}

void Compositor::setActive(bool active) {
    if (active == m_active) {
        return;
    }
    m_active = active;
    if (active) {
        flush();
        return;
    }
    m_timer.stop();
    m_due.reset();
}

void Compositor::schedule(double due) {
    if (!m_active) {
        return;
    }
    due = std::max(due, m_lastFlush + kMinInterval);
    if (m_beat > 0) {
        due = Animation::nextBeat(due, m_beat);
    }
    if (m_due && *m_due <= due) {
        return;
    }
    m_due = due;
    const double wait = std::max(0.0, due - m_clock.now());
    m_timer.start(static_cast<int>(std::min(std::ceil(wait * 1000.0), 86400000.0)));
}

std::optional<double> Compositor::plannedFlush() const {
    return m_due;
}

void Compositor::walk(double t, const std::function<void(Layer&, const Placement&)>& visit) const {
    const QRectF everything(QPointF(0, 0), m_viewSize);
    walkLayer(*m_root, t, QPointF(0, 0), everything, 1.0, visit);
}

void Compositor::walkLayer(Layer& layer, double t, QPointF origin, const QRectF& clip, double opacity,
                           const std::function<void(Layer&, const Placement&)>& visit) const {
    const LayerState state = layer.presentation(t);
    const QRectF frame = layer.frameAt(state.position).translated(origin);
    const double height = m_viewSize.height();

    Placement placement{{}, clip, opacity * state.opacity, layer.flipped(), state.contents};
    if (state.contents != nullptr && !state.contents->isNull()) {
        const double ratio = state.contents->devicePixelRatio() > 0 ? state.contents->devicePixelRatio() : 1.0;
        const double w = state.contents->width() / ratio;
        const double h = state.contents->height() / ratio;
        // The picture keeps its own size and stands at the bottom centre of the bounds.
        const double left = frame.center().x() - w / 2;
        placement.target = QRectF(left, height - frame.y() - h, w, h);
    }
    visit(layer, placement);

    QRectF childClip = clip;
    if (layer.clips()) {
        childClip =
            clip.intersected(QRectF(frame.x(), height - frame.y() - frame.height(), frame.width(), frame.height()));
    }
    for (const auto& child : layer.children()) {
        walkLayer(*child, t, frame.topLeft(), childClip, placement.opacity, visit);
    }
}

void Compositor::flush() {
    // Whatever was planned is being done now; the next plan starts afresh.
    m_due.reset();
    m_timer.stop();
    const double t = m_clock.now();
    if (m_beat > 0) {
        m_pacedSeconds += t - m_lastFlush;
    }
    m_frameTime = t;
    m_lastFlush = t;
    ++m_flushes;
    ++m_generation;
    QRegion damage;
    double next = Animation::kForever;
    double pace = 0;
    m_shown.clear();
    m_shownStale = false;
    walk(t, [&](Layer& layer, const Placement& placement) {
        const QRect visible = placement.visible();
        if (!visible.isEmpty()) {
            m_shown.push_back(shownAs(placement, visible));
        }
        const Drawn drawn{visible, (placement.contents != nullptr ? placement.contents->cacheKey() : 0),
                          placement.opacity, placement.flipped, m_generation};
        const auto it = m_drawn.find(layer.id());
        if (it == m_drawn.end()) {
            damage += drawn.rect;
            m_drawn.insert(layer.id(), drawn);
        } else {
            if (it->rect != drawn.rect ||
                (!drawn.rect.isEmpty() &&
                 (it->image != drawn.image || it->opacity != drawn.opacity || it->flipped != drawn.flipped))) {
                damage += it->rect;
                damage += drawn.rect;
            }
            *it = drawn;
        }
        layer.pruneAnimations(t);
        next = std::min(next, layer.nextChange(t));
        pace = std::max(pace, layer.beat(t));
    });
    m_beat = pace;
    for (auto it = m_drawn.begin(); it != m_drawn.end();) {
        if (it->generation != m_generation) {
            damage += it->rect;
            it = m_drawn.erase(it);
        } else {
            ++it;
        }
    }
    if (!damage.isEmpty()) {
        m_invalidate(damage);
    }
    if (next < Animation::kForever && m_beat == 0) {
        const double after = nextChange(next);
        if (after - next <= kCoalesce) {
            next = after;
        }
    }
    if (next < Animation::kForever) {
        schedule(next);
    }
}

double Compositor::nextChange(double t) const {
    double next = Animation::kForever;
    walk(t, [&](Layer& layer, const Placement&) { next = std::min(next, layer.nextChange(t)); });
    return next;
}

const QImage& Compositor::drawable(const QImage& image) {
    if (image.format() == QImage::Format_ARGB32_Premultiplied) {
        return image;
    }
    auto it = m_converted.find(image.cacheKey());
    if (it == m_converted.end()) {
        if (m_converted.size() >= kConvertedLimit) {
            m_converted.clear();
        }
        QImage converted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        converted.setDevicePixelRatio(image.devicePixelRatio());
        it = m_converted.insert(image.cacheKey(), converted);
    }
    return *it;
}

Compositor::Shown Compositor::shownAs(const Placement& placement, QRect visible) {
    return {visible, placement.target, placement.clip, placement.opacity, placement.flipped, *placement.contents};
}

std::vector<Compositor::Shown> Compositor::collect(double t) const {
    std::vector<Shown> shown;
    walk(t, [&](Layer&, const Placement& placement) {
        const QRect visible = placement.visible();
        if (!visible.isEmpty()) {
            shown.push_back(shownAs(placement, visible));
        }
    });
    return shown;
}

void Compositor::draw(QPainter& painter, const Shown& shown) {
    const QImage& image = drawable(shown.image);
    const QRectF& target = shown.target;
    const QRectF& clip = shown.clip;
    const double opacity = shown.opacity;
    const bool flipped = shown.flipped;
    const bool clipped = !clip.contains(target);
    const bool plain = !clipped && !flipped && opacity >= 1.0;
    if (plain) {
        painter.drawImage(target, image);
        return;
    }
    painter.save();
    if (clipped) {
        painter.setClipRect(clip, Qt::IntersectClip);
    }
    painter.setOpacity(opacity);
    if (flipped) {
        const double centre = target.center().x();
        painter.translate(2 * centre, 0);
        painter.scale(-1, 1);
    }
    painter.drawImage(target, image);
    painter.restore();
}

void Compositor::paint(QPainter& painter, const QRegion& region) {
    // Pixel art stays sharp at any scale.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The list of the last flush, unless the tree changed since: then the same instant afresh.
    const std::vector<Shown> walked = m_shownStale ? collect(m_frameTime) : std::vector<Shown>{};
    const std::vector<Shown>& shown = m_shownStale ? walked : m_shown;
    // One small rectangle at a time: clipped to a plain rectangle, a picture is copied row by row,
    // while a clip of many rectangles (several workers apart) sends every wide picture through the
    // span blender, which hands its work to other threads and wakes them on every paint.
    for (const QRect& area : region) {
        painter.setClipRect(area);
        for (const Shown& s : shown) {
            if (s.visible.intersects(area)) {
                draw(painter, s);
            }
        }
    }
    painter.setClipping(false);
}

void Compositor::render(QPainter& painter, double t) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const Shown& shown : collect(t)) {
        draw(painter, shown);
    }
}

} // namespace pipfield
