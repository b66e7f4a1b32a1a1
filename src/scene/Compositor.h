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
    void setViewSize(QSizeF size);

    /// Something in the tree changed; a flush follows at the next free frame.
    void setNeedsFlush();
    /// Whether the view is on screen. While it is not, nothing is flushed and no timer runs; on
    /// becoming active again it flushes at once, so the first paint shows the present.
    void setActive(bool active);
    bool active() const { return m_active; }
    /// Compares what would be shown now with what was last shown, invalidates the difference and
    /// plans the next flush for the next instant an animation changes.
    void flush();
    /// Draws the scene as of the last flush, skipping layers outside `region`.
    void paint(QPainter& painter, const QRegion& region);
    /// Draws the whole scene as it is at time t.
    void render(QPainter& painter, double t);

    /// The earliest instant after t at which any animation in the tree may change; infinity when
    /// nothing animates.
    double nextChange(double t) const;
    /// When the next flush is planned; none when nothing is pending.
    std::optional<double> plannedFlush() const;
    quint64 flushCount() const { return m_flushes; }
    /// The beat paints wait for since the last flush; 0 when none.
    double beat() const { return m_beat; }
    /// Seconds spent so far with paints paced to a beat (someone walking).
    double pacedSeconds() const { return m_pacedSeconds; }

private:
    struct Placement {
        QRectF target; // where the picture goes, view coordinates
        QRectF clip;
        double opacity;
        bool flipped;
        const QImage* contents;
        QRect visible() const;
    };
    // What one flush found to show, in drawing order, so that painting it needs no second walk
    // through the tree. The picture is held by value: a layer may be gone before the paint.
    struct Shown {
        QRect visible;
        QRectF target;
        QRectF clip;
        double opacity;
        bool flipped;
        QImage image;
    };
    struct Drawn {
        QRect rect;
        qint64 image;
        double opacity;
        bool flipped;
        quint64 generation;
    };

    void walk(double t, const std::function<void(Layer&, const Placement&)>& visit) const;
    void walkLayer(Layer& layer, double t, QPointF origin, const QRectF& clip, double opacity,
                   const std::function<void(Layer&, const Placement&)>& visit) const;
    static Shown shownAs(const Placement& placement, QRect visible);
    /// What the tree shows at time t, in drawing order.
    std::vector<Shown> collect(double t) const;
    void draw(QPainter& painter, const Shown& shown);
    const QImage& drawable(const QImage& image);
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
    double m_pacedSeconds = 0;
    bool m_active = true;
    quint64 m_generation = 0;
    quint64 m_flushes = 0;
    QHash<quint64, Drawn> m_drawn;
    std::vector<Shown> m_shown;
    // The tree or the view changed since the last flush, so its list no longer tells what to paint.
    bool m_shownStale = true;
    // Pictures converted once to the format the paint engine blends fastest.
    QHash<qint64, QImage> m_converted;
};

} // namespace pipfield
