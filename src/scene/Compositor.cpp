#include "scene/Compositor.h"

#include "kit/RegionRects.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace pipfield {

namespace {

// More distinct pictures than the scene ever shows at once; past it the conversions start over.
constexpr qsizetype kConvertedLimit = 2048;

bool whole(double v) {
    return std::abs(v - std::round(v)) < 1e-6;
}

/// Adds a rectangle to a short list of damage, merged with any it overlaps: a worker's hop damages
/// its old and new places, which nearly coincide, and one rectangle is cheaper to repaint than two.
void addDamage(std::vector<QRect>& damage, QRect rect) {
    if (rect.isEmpty()) {
        return;
    }
    for (auto it = damage.begin(); it != damage.end();) {
        if (it->intersects(rect)) {
            rect |= *it;
            damage.erase(it);
            it = damage.begin();
        } else {
            ++it;
        }
    }
    damage.push_back(rect);
}

/// Sets the pixels (device pixels, inside an image of 32-bit pixels) to `pixel`, as a painter
/// filling them in source mode does.
void fillPixels(QImage& image, const QRect& pixels, QRgb pixel) {
    const qsizetype stride = image.bytesPerLine();
    uchar* bits = image.bits() + stride * pixels.top();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y, bits += stride) {
        auto* line = reinterpret_cast<QRgb*>(bits);
        std::fill(line + pixels.left(), line + pixels.right() + 1, pixel);
    }
}

/// A row of premultiplied pixels over another, rounded exactly as Qt's paint engine rounds it, on
/// every processor: the strip's pictures look the same whether a painter draws them or not. The
/// same sums serve a clear pixel (the one under is kept exactly) and an opaque one (it replaces the
/// one under), so the loop has no branch and the compiler can blend several pixels at once.
void sourceOver(QRgb* __restrict line, const QRgb* __restrict source, int count) {
    for (int x = 0; x < count; ++x) {
        const quint32 alpha = 255 - qAlpha(source[x]);
        const quint32 under = line[x];
        quint32 redBlue = (under & 0xFF00FF) * alpha;
        redBlue = ((redBlue + ((redBlue >> 8) & 0xFF00FF) + 0x800080) >> 8) & 0xFF00FF;
        quint32 alphaGreen = ((under >> 8) & 0xFF00FF) * alpha;
        alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xFF00FF) + 0x800080) & 0xFF00FF00;
        line[x] = source[x] + (alphaGreen | redBlue);
    }
}

/// The whole number of device pixels per point that a painter draws with, or 0 when it draws
/// with any other transform.
int wholeScale(const QPainter& painter) {
    const QTransform& m = painter.deviceTransform();
    if (m.type() > QTransform::TxScale || m.m11() != m.m22() || !whole(m.m11()) || m.m11() < 1 || !whole(m.dx()) ||
        !whole(m.dy())) {
        return 0;
    }
    return static_cast<int>(std::round(m.m11()));
}

} // namespace

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
    m_stale = true;
    m_stillDirty = true;
    m_invalidate(QRegion(QRect(QPoint(0, 0), size.toSize())));
}

void Compositor::setNeedsFlush() {
    m_stale = true;
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
    // Drawn again when next needed; a strip hidden for hours holds no picture of itself.
    m_still = QImage();
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

QRectF Compositor::place(Layer& layer, double t, const Entry& entry, Shown& shown) const {
    const LayerState state = layer.presentation(t);
    const QRectF frame = layer.frameAt(state.position).translated(entry.origin);
    shown.clip = entry.parentClip;
    shown.opacity = entry.parentOpacity * state.opacity;
    shown.flipped = layer.flipped();
    const QImage* contents = state.contents;
    if (contents == nullptr || contents->isNull()) {
        shown.target = {};
        shown.visible = {};
    } else {
        const double ratio = contents->devicePixelRatio() > 0 ? contents->devicePixelRatio() : 1.0;
        const double w = contents->width() / ratio;
        const double h = contents->height() / ratio;
        // The picture keeps its own size and stands at the bottom centre of the bounds.
        shown.target = QRectF(frame.center().x() - w / 2, m_viewSize.height() - frame.y() - h, w, h);
        shown.visible = shown.opacity > 0 ? shown.target.intersected(shown.clip).toAlignedRect() : QRect();
    }
    if (shown.visible.isEmpty()) {
        if (!shown.image.isNull()) {
            shown.image = QImage();
        }
    } else if (shown.image.cacheKey() != contents->cacheKey()) {
        shown.image = *contents;
    }
    return frame;
}

QRectF Compositor::childClip(const Layer& layer, const QRectF& frame, const QRectF& clip, double height) {
    if (!layer.clips()) {
        return clip;
    }
    return clip.intersected(QRectF(frame.x(), height - frame.y() - frame.height(), frame.width(), frame.height()));
}

void Compositor::gather(Layer& layer, double t, QPointF origin, const QRectF& clip, double opacity, bool moving,
                        std::vector<Entry>& into) const {
    const std::size_t i = into.size();
    into.push_back(Entry{&layer, layer.id(), origin, clip, opacity, moving || layer.hasAnimations(), 0, {}});
    const QRectF frame = place(layer, t, into[i], into[i].shown);
    const QRectF inner = childClip(layer, frame, clip, m_viewSize.height());
    const double innerOpacity = into[i].shown.opacity;
    const bool innerMoving = into[i].moving;
    for (const auto& child : layer.children()) {
        gather(*child, t, frame.topLeft(), inner, innerOpacity, innerMoving, into);
    }
    into[i].end = into.size();
}

std::vector<Compositor::Entry> Compositor::collect(double t) const {
    std::vector<Entry> entries;
    gather(*m_root, t, QPointF(0, 0), QRectF(QPointF(0, 0), m_viewSize), 1.0, false, entries);
    return entries;
}

void Compositor::rebuild(double t, std::vector<QRect>& damage) {
    ++m_rebuilds;
    std::vector<Entry> before = std::move(m_entries);
    m_entries = collect(t);
    // Match each layer with what it showed before by id; a layer gone leaves its old place to repaint.
    std::vector<std::pair<quint64, std::size_t>> ids;
    ids.reserve(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        ids.emplace_back(before[i].id, i);
    }
    std::sort(ids.begin(), ids.end());
    std::vector<bool> matched(before.size(), false);
    for (const Entry& entry : m_entries) {
        const Shown& now = entry.shown;
        const auto it = std::lower_bound(ids.begin(), ids.end(), std::pair{entry.id, std::size_t{0}});
        if (it == ids.end() || it->first != entry.id) {
            addDamage(damage, now.visible);
            continue;
        }
        matched[it->second] = true;
        const Shown& old = before[it->second].shown;
        if (old.visible != now.visible ||
            (!now.visible.isEmpty() && (old.image.cacheKey() != now.image.cacheKey() || old.opacity != now.opacity ||
                                        old.flipped != now.flipped))) {
            addDamage(damage, old.visible);
            addDamage(damage, now.visible);
        }
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!matched[i]) {
            addDamage(damage, before[i].shown.visible);
        }
    }
    // The layers whose own animations can change what they and their subtrees show.
    m_animated.clear();
    for (std::size_t i = 0; i < m_entries.size();) {
        if (m_entries[i].layer->hasAnimations()) {
            m_animated.push_back(i);
            i = m_entries[i].end;
        } else {
            ++i;
        }
    }
    m_stale = false;
    planStill();
}

std::size_t Compositor::refresh(std::size_t i, double t, std::vector<QRect>& damage, bool& stillCovered) {
    Entry& entry = m_entries[i];
    Layer& layer = *entry.layer;
    const QRect oldVisible = entry.shown.visible;
    const qint64 oldImage = entry.shown.image.cacheKey();
    const double oldOpacity = entry.shown.opacity;
    const QRectF frame = place(layer, t, entry, entry.shown);
    const Shown& now = entry.shown;
    if (oldVisible != now.visible ||
        (!now.visible.isEmpty() && (oldImage != now.image.cacheKey() || oldOpacity != now.opacity))) {
        addDamage(damage, oldVisible);
        addDamage(damage, now.visible);
        if (oldVisible != now.visible && !now.visible.isEmpty()) {
            // Moved over something in the still picture that is drawn above it: that picture no
            // longer shows the layers in their order.
            const auto later = std::upper_bound(m_stillEntries.begin(), m_stillEntries.end(), i);
            for (auto it = later; it != m_stillEntries.end() && !stillCovered; ++it) {
                stillCovered = m_entries[*it].shown.visible.intersects(now.visible);
            }
        }
    }
    const QRectF inner = childClip(layer, frame, entry.parentClip, m_viewSize.height());
    std::size_t j = i + 1;
    for (const auto& child : layer.children()) {
        Entry& next = m_entries[j];
        Q_ASSERT(next.layer == child.get());
        next.origin = frame.topLeft();
        next.parentClip = inner;
        next.parentOpacity = entry.shown.opacity;
        j = refresh(j, t, damage, stillCovered);
    }
    return j;
}

void Compositor::planStill() {
    m_stillEntries.clear();
    m_ownEntries.clear();
    std::vector<StillKey> drawn;
    // A layer that stands still joins the still picture unless something drawn on its own below it
    // overlaps it: then it must be drawn after that, on its own as well.
    std::vector<QRect> own;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        const Shown& shown = entry.shown;
        if (entry.moving) {
            m_ownEntries.push_back(i);
            if (!shown.visible.isEmpty()) {
                own.push_back(shown.visible);
            }
            continue;
        }
        if (shown.visible.isEmpty()) {
            continue; // stays empty until the tree changes
        }
        if (std::any_of(own.begin(), own.end(), [&](const QRect& r) { return r.intersects(shown.visible); })) {
            m_ownEntries.push_back(i);
            own.push_back(shown.visible);
            continue;
        }
        m_stillEntries.push_back(i);
        drawn.push_back(StillKey{entry.id, shown.visible, shown.target, shown.clip, shown.opacity, shown.flipped,
                                 shown.image.cacheKey()});
    }
    if (drawn != m_stillDrawn) {
        m_stillDrawn = std::move(drawn);
        m_stillDirty = true;
    }
}

template <typename Visit>
void Compositor::eachAnimated(Visit visit) const {
    for (const std::size_t root : m_animated) {
        for (std::size_t i = root; i < m_entries[root].end; ++i) {
            Layer& layer = *m_entries[i].layer;
            if (layer.hasAnimations()) {
                visit(layer);
            }
        }
    }
}

void Compositor::flush() {
    // Errands and effects that came due since the last paint change the tree first, so that what
    // they change shows in this paint, in this wake-up.
    m_clock.catchUp();
    if (m_beforeFlush) {
        m_beforeFlush();
    }
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
    std::vector<QRect> damage;
    if (m_stale) {
        rebuild(t, damage);
    } else {
        // Only animations change what is shown while the tree stays as it was.
        bool stillCovered = false;
        for (const std::size_t i : m_animated) {
            refresh(i, t, damage, stillCovered);
        }
        if (stillCovered) {
            planStill();
        }
    }
    double next = Animation::kForever;
    double pace = 0;
    eachAnimated([&](Layer& layer) {
        layer.pruneAnimations(t);
        next = std::min(next, layer.nextChange(t));
        pace = std::max(pace, layer.beat(t));
    });
    m_beat = pace;
    if (!damage.empty()) {
        QRegion region;
        for (const QRect& rect : damage) {
            region += rect;
        }
        m_flushing = true;
        m_invalidate(region);
        m_flushing = false;
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
    if (m_stale) {
        for (const Entry& entry : collect(t)) {
            next = std::min(next, entry.layer->nextChange(t));
        }
        return next;
    }
    eachAnimated([&](const Layer& layer) { next = std::min(next, layer.nextChange(t)); });
    return next;
}

void Compositor::setUnderlay(const QImage& underlay) {
    if (underlay.cacheKey() == m_underlay.cacheKey()) {
        return;
    }
    m_underlay = underlay;
    m_stillDirty = true;
    m_invalidate(QRegion(QRect(QPoint(0, 0), m_viewSize.toSize())));
}

const QImage& Compositor::drawable(const QImage& image, bool flipped) {
    const QImage* plain = &image;
    if (image.format() != QImage::Format_ARGB32_Premultiplied) {
        auto it = m_converted.find(image.cacheKey());
        if (it == m_converted.end()) {
            if (m_converted.size() >= kConvertedLimit) {
                m_converted.clear();
                m_mirrored.clear();
            }
            QImage converted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            converted.setDevicePixelRatio(image.devicePixelRatio());
            it = m_converted.insert(image.cacheKey(), converted);
        }
        plain = &*it;
    }
    if (!flipped) {
        return *plain;
    }
    // Mirrored once rather than through a mirroring transform at every paint, which sends the
    // picture through the paint engine's slow transformed path.
    auto it = m_mirrored.find(image.cacheKey());
    if (it == m_mirrored.end()) {
        if (m_mirrored.size() >= kConvertedLimit) {
            m_mirrored.clear();
        }
        QImage mirrored = plain->mirrored(true, false);
        mirrored.setDevicePixelRatio(image.devicePixelRatio());
        it = m_mirrored.insert(image.cacheKey(), mirrored);
    }
    return *it;
}

void Compositor::drawIn(QPainter& painter, const Shown& shown, const QRect& area) {
    const QRectF dest = shown.target.intersected(shown.clip).intersected(QRectF(area));
    if (dest.isEmpty()) {
        return;
    }
    const QImage& image = drawable(shown.image, shown.flipped);
    const double ratio = image.devicePixelRatio() > 0 ? image.devicePixelRatio() : 1.0;
    const QRectF source((dest.x() - shown.target.x()) * ratio, (dest.y() - shown.target.y()) * ratio,
                        dest.width() * ratio, dest.height() * ratio);
    const bool partial = shown.opacity < 1.0;
    if (partial) {
        painter.setOpacity(shown.opacity);
    }
    if (whole(source.x()) && whole(source.y()) && whole(source.width()) && whole(source.height()) &&
        whole(dest.x() * ratio) && whole(dest.y() * ratio)) {
        // The part of the picture inside the patch, copied without a clip to set up.
        painter.drawImage(dest, image, source);
    } else {
        // Between device pixels: the whole picture, cut off at the patch.
        painter.save();
        painter.setClipRect(dest, Qt::IntersectClip);
        painter.drawImage(shown.target, image);
        painter.restore();
    }
    if (partial) {
        painter.setOpacity(1.0);
    }
}

bool Compositor::copyIn(QImage& image, int scale, const Shown& shown, const QRect& area) {
    const QRectF dest = shown.target.intersected(shown.clip).intersected(QRectF(area));
    if (dest.isEmpty()) {
        return true;
    }
    if (shown.opacity < 1.0) {
        return false;
    }
    const QImage& picture = drawable(shown.image, shown.flipped);
    if (picture.devicePixelRatio() != scale) {
        return false;
    }
    const QPointF from = (dest.topLeft() - shown.target.topLeft()) * scale;
    const QRectF to(dest.topLeft() * scale, dest.size() * scale);
    if (!whole(from.x()) || !whole(from.y()) || !whole(to.x()) || !whole(to.y()) || !whole(to.width()) ||
        !whole(to.height())) {
        return false;
    }
    // Where the picture and the image both have pixels.
    const QPoint offset = from.toPoint() - to.topLeft().toPoint();
    const QRect pixels = to.toRect() & image.rect() & picture.rect().translated(-offset);
    if (pixels.isEmpty()) {
        return true;
    }
    const qsizetype stride = image.bytesPerLine();
    const qsizetype sourceStride = picture.bytesPerLine();
    uchar* bits = image.bits() + stride * pixels.top() + std::ptrdiff_t{pixels.left()} * 4;
    const uchar* sourceBits = picture.constBits() + sourceStride * (pixels.top() + offset.y()) +
                              std::ptrdiff_t{pixels.left() + offset.x()} * 4;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y, bits += stride, sourceBits += sourceStride) {
        sourceOver(reinterpret_cast<QRgb*>(bits), reinterpret_cast<const QRgb*>(sourceBits), pixels.width());
    }
    return true;
}

void Compositor::drawUnderlay(QPainter& painter, const QRect& area) const {
    if (m_underlay.isNull()) {
        return;
    }
    const double ratio = m_underlay.devicePixelRatio() > 0 ? m_underlay.devicePixelRatio() : 1.0;
    const QRectF dest = QRectF(area).intersected(QRectF(QPointF(0, 0), QSizeF(m_underlay.size()) / ratio));
    if (!dest.isEmpty()) {
        painter.drawImage(dest, m_underlay, QRectF(dest.topLeft() * ratio, dest.size() * ratio));
    }
}

const QImage& Compositor::still(int scale) {
    const QSize pixels = (m_viewSize * scale).toSize();
    if (!m_stillDirty && m_still.size() == pixels && m_still.devicePixelRatio() == scale) {
        return m_still;
    }
    ++m_stillDraws;
    if (m_still.size() != pixels) {
        m_still = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    }
    m_still.setDevicePixelRatio(scale);
    m_still.fill(Qt::transparent);
    QPainter painter(&m_still);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect everything(QPoint(0, 0), m_viewSize.toSize());
    drawUnderlay(painter, everything);
    for (const std::size_t i : m_stillEntries) {
        drawIn(painter, m_entries[i].shown, everything);
    }
    m_stillDirty = false;
    return m_still;
}

void Compositor::paint(QPainter& painter, const QRegion& region) {
    // Pixel art stays sharp at any scale.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int scale = wholeScale(painter);
    // While the tree is as the flush left it, a patch is its part of the still picture with the
    // moving layers over it. Otherwise (the tree changed since, or the painter is turned or
    // stretched) it is every layer of the flush's instant drawn afresh.
    const bool fromStill = !m_stale && scale > 0;
    const std::vector<Entry> walked = m_stale ? collect(m_frameTime) : std::vector<Entry>{};
    const std::vector<Entry>& entries = m_stale ? walked : m_entries;
    const QImage* still = fromStill ? &this->still(scale) : nullptr;
    const QPainter::CompositionMode mode = painter.compositionMode();
    // Clipped to one plain rectangle at a time: under a clip of many rectangles (several workers
    // apart) the paint engine blends every picture span by span instead of row by row.
    const std::vector<QRect> areas = wholeRects(region);
    const bool several = areas.size() > 1;
    const auto drawOver = [&](const Shown& shown, const QRect& area) {
        if (shown.visible.intersects(area)) {
            drawIn(painter, shown, area);
        }
    };
    for (const QRect& area : areas) {
        if (several) {
            painter.setClipRect(area);
        }
        if (still == nullptr) {
            drawUnderlay(painter, area);
            for (const Entry& entry : entries) {
                drawOver(entry.shown, area);
            }
            continue;
        }
        // The patch is painted anew: its still part replaces whatever was there.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QRectF(area), *still, QRectF(QPointF(area.topLeft()) * scale, QSizeF(area.size()) * scale));
        painter.setCompositionMode(mode);
        for (const std::size_t i : m_ownEntries) {
            drawOver(entries[i].shown, area);
        }
    }
    if (several) {
        painter.setClipping(false);
    }
}

void Compositor::paint(QImage& image, const QRegion& region) {
    const std::vector<QRect> areas = wholeRects(region);
    // Under the scene: nothing where the image is blended with the desktop, black where it is not.
    const QRgb clear = image.hasAlphaChannel() ? 0 : 0xFF000000;
    const double ratio = image.devicePixelRatio();
    const bool copies =
        !m_stale && whole(ratio) && ratio >= 1 &&
        (image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32);
    if (!copies) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& area : areas) {
            painter.fillRect(area, QColor::fromRgba(clear));
        }
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setClipRegion(region);
        paint(painter, region);
        return;
    }
    const int scale = static_cast<int>(std::lround(ratio));
    const QImage& still = this->still(scale);
    const qsizetype stride = image.bytesPerLine();
    const qsizetype stillStride = still.bytesPerLine();
    uchar* const bits = image.bits();
    const uchar* const stillBits = still.constBits();
    // Opened only for a picture that must be blended, scaled or faded.
    std::optional<QPainter> painter;
    for (const QRect& area : areas) {
        // The patch is painted anew: its still part replaces whatever was there.
        const QRect all = QRect(area.topLeft() * scale, area.size() * scale) & image.rect();
        const QRect pixels = all & still.rect();
        if (pixels != all) {
            fillPixels(image, all, clear);
        }
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            std::memcpy(bits + stride * y + std::ptrdiff_t{pixels.left()} * 4,
                        stillBits + stillStride * y + std::ptrdiff_t{pixels.left()} * 4,
                        static_cast<std::size_t>(pixels.width()) * 4);
        }
        for (const std::size_t i : m_ownEntries) {
            const Shown& shown = m_entries[i].shown;
            if (!shown.visible.intersects(area) || copyIn(image, scale, shown, area)) {
                continue;
            }
            if (!painter) {
                painter.emplace(&image);
                painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
            }
            painter->setClipRect(area);
            drawIn(*painter, shown, area);
        }
    }
}

void Compositor::render(QPainter& painter, double t) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect everything(QPoint(0, 0), m_viewSize.toSize());
    drawUnderlay(painter, everything);
    for (const Entry& entry : collect(t)) {
        if (!entry.shown.visible.isEmpty()) {
            drawIn(painter, entry.shown, everything);
        }
    }
}

} // namespace pipfield
