#pragma once

#include "scene/Animation.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace pipfield {

class Compositor;

/// One node of the retained scene: a picture with a position, bounds, anchor, z order, opacity and
/// horizontal flip, its children, and the animations laid over it. Coordinates are points with y
/// growing upwards; a child's position is measured from its parent's bottom-left corner.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    static std::shared_ptr<Layer> create();
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    QPointF position() const { return m_position; }
    void setPosition(QPointF position);
    QSizeF bounds() const { return m_bounds; }
    void setBounds(QSizeF bounds);
    /// The point of the bounds that stands at the position, as fractions; (0.5, 0) is the bottom centre.
    QPointF anchor() const { return m_anchor; }
    void setAnchor(QPointF anchor);
    double z() const { return m_z; }
    void setZ(double z);
    const QImage& contents() const { return m_contents; }
    /// The picture keeps its own size in points (pixels over its device pixel ratio), standing at
    /// the bottom centre of the bounds.
    void setContents(const QImage& contents);
    double opacity() const { return m_opacity; }
    void setOpacity(double opacity);
    /// Mirrored left to right about the anchor.
    bool flipped() const { return m_flipped; }
    void setFlipped(bool flipped);
    /// Children are cut off at the bounds.
    bool clips() const { return m_clips; }
    void setClips(bool clips);

    /// Shows the picture at its own size: contents and bounds together.
    void show(const QImage& image);

    void addChild(const std::shared_ptr<Layer>& child);
    void removeFromParent();
    void removeAllChildren();
    const std::vector<std::shared_ptr<Layer>>& children() const { return m_children; }
    Layer* parent() const { return m_parent; }

    /// Replaces any animation under the key. Without a begin time it begins at the scene's present,
    /// or, on a layer not yet in the scene, when the layer is first added to it.
    void addAnimation(const QString& key, Animation animation);
    void removeAnimation(const QString& key);
    const Animation* animation(const QString& key) const;
    bool hasAnimations() const { return !m_animations.empty(); }

    /// The values shown at time t.
    LayerState presentation(double t) const;
    /// The rectangle the bounds cover in the parent at a position, flip included.
    QRectF frameAt(QPointF position) const;
    QRectF frame() const { return frameAt(m_position); }
    /// The earliest instant after t at which one of this layer's own animations may change what it shows.
    double nextChange(double t) const;
    /// Drops animations that are over and not held.
    void pruneAnimations(double t);
    /// The beat that one of this layer's animations, not yet over at t, paces paints to; 0 for none.
    double beat(double t) const;

    /// Unique for the life of the process, unlike an address.
    quint64 id() const { return m_id; }

private:
    friend class Compositor;
    Layer();
    void touch();
    void setHost(Compositor* host);

    quint64 m_id;
    QPointF m_position;
    QSizeF m_bounds;
    QPointF m_anchor{0.5, 0.0};
    double m_z = 0;
    QImage m_contents;
    double m_opacity = 1.0;
    bool m_flipped = false;
    bool m_clips = false;
    Layer* m_parent = nullptr;
    Compositor* m_host = nullptr;
    std::vector<std::shared_ptr<Layer>> m_children;
    std::vector<std::pair<QString, Animation>> m_animations;
};

} // namespace pipfield
