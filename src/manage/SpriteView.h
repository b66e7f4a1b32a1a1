#pragma once

#include "kit/PixelArt.h"
#include "model/Catalog.h"
#include "model/WorkerLook.h"

#include <QWidget>

#include <optional>

namespace pipfield {

class Sprite;

/// One picture of the game's art in a fixed frame: at a zoom of its natural size, centred, or fitted
/// to the frame. Shows nothing when the image does not exist.
class SpriteView : public QWidget {
    Q_OBJECT

public:
    SpriteView(Sprite& sprites, QSize frame, QWidget* parent = nullptr);

    void setSprite(const QString& name, std::optional<double> dye = std::nullopt, double zoom = 1.0,
                   bool silhouette = false);
    /// Draws the image scaled into the frame instead of at a zoom.
    void setFit(PixelFit fit);
    void setOpacity(double opacity);

    const QString& spriteName() const { return m_name; }
    std::optional<double> dye() const { return m_dye; }
    bool silhouette() const { return m_silhouette; }
    /// The picture as it is drawn (before opacity), null when there is none.
    QImage picture() const;

    QSize sizeHint() const override { return m_frame; }

protected:
    Sprite& sprites() const { return m_sprites; }

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QImage makePicture() const;

    Sprite& m_sprites;
    QSize m_frame;
    QString m_name;
    std::optional<double> m_dye;
    double m_zoom = 1.0;
    bool m_silhouette = false;
    std::optional<PixelFit> m_fit;
    double m_opacity = 1.0;
    mutable std::optional<QImage> m_picture;
};

/// A worker's idle frame in its look and gear.
class WorkerSprite : public SpriteView {
    Q_OBJECT

public:
    WorkerSprite(Sprite& sprites, QSize frame, double zoom, QWidget* parent = nullptr);

    void setWorker(WorkerRole role, const WorkerLook& look, int tier);

    /// The sprite name of the worker's idle frame 0, the most specific one the art has.
    static QString frameName(Sprite& sprites, WorkerRole role, const WorkerLook& look, int tier);

private:
    double m_workerZoom;
};

} // namespace pipfield
