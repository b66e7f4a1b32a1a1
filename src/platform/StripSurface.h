#pragma once

#include <QObject>
#include <QPointF>
#include <QRegion>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace pipfield {

/// A strip the compositor places and stacks by itself (a Wayland layer surface): the program only
/// says which output, how large, which layer and whether clicks reach it, and paints the scene into
/// it whenever part of the scene changed.
class StripSurface : public QObject {
    Q_OBJECT

public:
    struct Output {
        QString name;
        QString description;
        /// In the compositor's logical coordinates.
        QSize size;
    };

    /// What fills the surface, in points with y growing downward from its top-left corner.
    struct Content {
        /// Paints the region; the painter is clipped to it.
        std::function<void(QPainter& painter, const QRegion& region)> paint;
        /// The surface got this size.
        std::function<void(QSize size)> resize;
        /// A left click reached the surface.
        std::function<void(QPointF point)> click;
    };

    using QObject::QObject;
    ~StripSurface() override = default;

    /// The connected outputs, in the order the compositor announced them.
    virtual std::vector<Output> outputs() const = 0;
    /// Puts the strip on the named output (empty: the one the compositor prefers) at this size.
    virtual void place(const QString& outputName, QSize size) = 0;
    virtual void setShown(bool shown) = 0;
    virtual void setClickThrough(bool on) = 0;
    /// Above full-screen windows, or under them so that they hide the strip.
    virtual void setAboveFullScreen(bool above) = 0;
    virtual void setContent(Content content) = 0;
    /// Device pixels per point of the output the strip is on.
    virtual int scale() const = 0;

public Q_SLOTS:
    /// Part of the content changed and must be painted again (points of the content).
    virtual void damage(const QRegion& region) = 0;

Q_SIGNALS:
    /// An output came, went or changed its name or size.
    void outputsChanged();
    void scaleChanged(int scale);
};

} // namespace pipfield
