#pragma once

#include "scene/Layer.h"
#include "scene/SceneClock.h"

#include <QHash>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSizeF>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace pipfield {

/// Draws a layer tree into a view with y growing downwards, repainting only what changed and
/// waking only when some animation is due to change what is shown.
///
/// Pacing: a paint happens when something visible changes, at the moment it changes (or up to
/// kCoalesce later, together with the change after it), and never sooner than kMinInterval after
/// the one before. While an animation paced to a beat runs (a walk
/// hopping on its beat), every paint waits for that beat instead, so that the hops show at even
/// intervals and whatever else changes in between is painted together with the next hop.
class Compositor {
public:
    /// At most 60 paints a second, however many things change.
    static constexpr double kMinInterval = 1.0 / 60.0;
    /// With nobody walking, a change waits up to this long for the next one, so that flip-books
    /// turning at different paces (0.1, 0.12 and 0.15 s a frame) share paints where they nearly
    /// meet: two of every three frames of a puff beside a worker's tool, two of five of an idle
    /// worker beside another's tool. Longer, and a frame delayed into the next would only flash.
    static constexpr double kCoalesce = 0.045;

    /// `invalidate` is given the region of the view, in points, whose pixels must be repainted.
    Compositor(SceneClock& clock, std::function<void(const QRegion&)> invalidate);
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    /// The view's own layer, covering it from its bottom-left corner.
    const std::shared_ptr<Layer>& root() const { return m_root; }
    double now() const { return m_clock.now(); }
    QSizeF viewSize() const { return m_viewSize; }
    void setViewSize(QSizeF size);

    /// Runs at the start of every flush, after the clock's callbacks, for whatever else would soon
    /// wake the program and can as well be done in this wake-up.
    void setBeforeFlush(std::function<void()> hook) { m_beforeFlush = std::move(hook); }
    /// Something in the tree changed; a flush follows at the next free frame.
    void setNeedsFlush();
    /// Whether the view is on screen. While it is not, nothing is flushed and no timer runs; on
    /// becoming active again it flushes at once, so the first paint shows the present.
    void setActive(bool active);
    bool active() const { return m_active; }
    /// Compares what would be shown now with what was last shown, invalidates the difference and
    /// plans the next flush for the next instant an animation changes.
    void flush();
    /// Whether a flush is under way: what it invalidates is the present, ready to paint at once.
    bool flushing() const { return m_flushing; }
    /// Draws the scene as of the last flush, only inside `region`.
    void paint(QPainter& painter, const QRegion& region);
    /// The same into an image of the surface's own, at its device pixel ratio, with the same
    /// pixels as through a painter clipped to `region`, over clear pixels (black where the image
    /// has no alpha channel). Pictures that land on whole pixels are blended row by row here: a
    /// painter's set-up and its paint engine cost more than the few small patches of a paint.
    void paint(QImage& image, const QRegion& region);
    /// Draws the whole scene as it is at time t.
    void render(QPainter& painter, double t);

    /// An opaque picture under every layer, from the view's top-left corner; none when null.
    void setUnderlay(const QImage& underlay);

    /// The earliest instant after t at which any animation in the tree may change; infinity when
    /// nothing animates.
    double nextChange(double t) const;
    /// When the next flush is planned; none when nothing is pending.
    std::optional<double> plannedFlush() const;
    quint64 flushCount() const { return m_flushes; }
    /// Flushes that walked the whole tree because it changed, and drawings of the still picture.
    quint64 rebuildCount() const { return m_rebuilds; }
    quint64 stillDrawCount() const { return m_stillDraws; }
    /// The beat paints wait for since the last flush; 0 when none.
    double beat() const { return m_beat; }
    /// Seconds spent so far with paints paced to a beat (someone walking).
    double pacedSeconds() const { return m_pacedSeconds; }

private:
    // What a layer shows at one instant, in view coordinates.
    struct Shown {
        QRect visible;
        QRectF target; // where the picture goes
        QRectF clip;
        double opacity = 1.0;
        bool flipped = false;
        QImage image; // held by value: a layer may be gone before the paint
    };
    // A layer as the last walk through the tree found it, in drawing order. `layer` is valid only
    // until the tree changes.
    struct Entry {
        Layer* layer;
        quint64 id;
        // What its parent gives it: where the parent's frame starts, its clip and its opacity.
        QPointF origin;
        QRectF parentClip;
        double parentOpacity;
        // It or a layer above it animates, so what it shows may change without the tree changing.
        bool moving;
        // One past the last entry of its subtree.
        std::size_t end = 0;
        Shown shown;
    };
    // What the still picture was drawn from, to tell when it must be drawn again.
    struct StillKey {
        quint64 id;
        QRect visible;
        QRectF target;
        QRectF clip;
        double opacity;
        bool flipped;
        qint64 image;
        bool operator==(const StillKey&) const = default;
    };

    QRectF place(Layer& layer, double t, const Entry& entry, Shown& shown) const;
    static QRectF childClip(const Layer& layer, const QRectF& frame, const QRectF& clip, double height);
    void gather(Layer& layer, double t, QPointF origin, const QRectF& clip, double opacity, bool moving,
                std::vector<Entry>& into) const;
    /// Every layer as it stands at time t, in drawing order.
    std::vector<Entry> collect(double t) const;
    void rebuild(double t, std::vector<QRect>& damage);
    /// Every layer with animations, as of the last flush's walk.
    template <typename Visit>
    void eachAnimated(Visit visit) const;
    std::size_t refresh(std::size_t i, double t, std::vector<QRect>& damage, bool& stillCovered);
    void planStill();
    const QImage& still(int scale);
    void drawUnderlay(QPainter& painter, const QRect& area) const;
    void drawIn(QPainter& painter, const Shown& shown, const QRect& area);
    bool copyIn(QImage& image, int scale, const Shown& shown, const QRect& area);
    const QImage& drawable(const QImage& image, bool flipped);
    void schedule(double due);

    SceneClock& m_clock;
    std::function<void(const QRegion&)> m_invalidate;
    std::shared_ptr<Layer> m_root;
    QSizeF m_viewSize;
    QTimer m_timer;
    std::optional<double> m_due;
    double m_lastFlush = -1e9;
    double m_frameTime = 0;
    double m_beat = 0;
    std::function<void()> m_beforeFlush;
    double m_pacedSeconds = 0;
    bool m_active = true;
    bool m_flushing = false;
    quint64 m_flushes = 0;
    quint64 m_rebuilds = 0;
    quint64 m_stillDraws = 0;
    // The tree as of the last flush, and the layers in it that animate (each with its subtree).
    std::vector<Entry> m_entries;
    std::vector<std::size_t> m_animated;
    // The tree or the view changed since the last flush: the entries no longer describe it.
    bool m_stale = true;
    // Everything that stands still, drawn once: a paint copies its patch of this picture and draws
    // only the few moving layers over it, instead of every tile, tree and decoration under them.
    std::vector<std::size_t> m_stillEntries;
    std::vector<std::size_t> m_ownEntries;
    std::vector<StillKey> m_stillDrawn;
    QImage m_still;
    bool m_stillDirty = true;
    QImage m_underlay;
    // Pictures converted once to the format the paint engine blends fastest, and mirrored ones.
    QHash<qint64, QImage> m_converted;
    QHash<qint64, QImage> m_mirrored;
};

} // namespace pipfield
