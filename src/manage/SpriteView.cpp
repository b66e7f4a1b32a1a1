#include "manage/SpriteView.h"

#include "kit/TextStyle.h"
#include "manage/Accessibility.h"
#include "scene/Palette.h"
#include "scene/Sprite.h"
#include "scene/WorkerSheet.h"

#include <QEvent>
#include <QPainter>

namespace pipfield {

SpriteView::SpriteView(Sprite& sprites, QSize frame, QWidget* parent)
    : QWidget(parent), m_sprites(sprites), m_frame(frame) {
    setFixedSize(frame);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    markDecorative(this);
}

void SpriteView::setSprite(const QString& name, std::optional<double> dye, double zoom, bool silhouette) {
    if (name == m_name && dye == m_dye && zoom == m_zoom && silhouette == m_silhouette) {
        return;
    }
    m_name = name;
    m_dye = dye;
    m_zoom = zoom;
    m_silhouette = silhouette;
    m_picture.reset();
    update();
}

void SpriteView::setFit(PixelFit fit) {
    m_fit = fit;
    update();
}

void SpriteView::setOpacity(double opacity) {
    if (opacity != m_opacity) {
        m_opacity = opacity;
        update();
    }
}

QImage SpriteView::picture() const {
    // Made once per sprite and palette: a silhouette is a recoloured copy, not worth redoing per paint.
    if (!m_picture) {
        m_picture = makePicture();
    }
    return *m_picture;
}

void SpriteView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        m_picture.reset();
    }
    QWidget::changeEvent(event);
}

QImage SpriteView::makePicture() const {
    if (m_name.isEmpty()) {
        return {};
    }
    const std::optional<QImage> image = m_sprites.image(m_name, m_dye, Grading::asIs);
    if (!image) {
        return {};
    }
    if (!m_silhouette) {
        return *image;
    }
    QImage shape = image->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&shape);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(shape.rect(), toneColor(palette(), Tone::tertiary));
    return shape;
}

void SpriteView::paintEvent(QPaintEvent*) {
    const QImage image = picture();
    if (image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    if (m_fit) {
        drawPixelArt(painter, image, rect(), *m_fit);
        return;
    }
    const QSizeF size = pointSize(image) * m_zoom;
    const QRectF target(
        QPointF(rect().center().x() + 1 - size.width() / 2, rect().center().y() + 1 - size.height() / 2), size);
    drawPixelArt(painter, image, target.toAlignedRect(), PixelFit::stretch);
}

WorkerSprite::WorkerSprite(Sprite& sprites, QSize frame, double zoom, QWidget* parent)
    : SpriteView(sprites, frame, parent), m_workerZoom(zoom) {}

QString WorkerSprite::frameName(Sprite& sprites, WorkerRole role, const WorkerLook& look, int tier) {
    const int variant = look.variant == 1 ? 1 : 0;
    return WorkerSheet::name(sprites, role, variant, tier, QStringLiteral("idle")) + QStringLiteral("-0");
}

void WorkerSprite::setWorker(WorkerRole role, const WorkerLook& look, int tier) {
    // A hand-edited dye far outside the table must not wrap into it.
    const std::optional<double> hue =
        look.dye >= 0 && look.dye <= 6 ? Palette::dyeHue(static_cast<int>(look.dye)) : std::nullopt;
    setSprite(frameName(sprites(), role, look, tier), hue, m_workerZoom, false);
}

} // namespace pipfield
