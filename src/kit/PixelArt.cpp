#include "kit/PixelArt.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pipfield {

QSizeF pointSize(const QImage& image) {
    const double ratio = image.devicePixelRatio() > 0 ? image.devicePixelRatio() : 1.0;
    return QSizeF(image.width() / ratio, image.height() / ratio);
}

int coverMultiple(const QSize& image, const QSizeF& targetInDevicePixels) {
    if (image.isEmpty()) {
        return 1;
    }
    const double need =
        std::max(targetInDevicePixels.width() / image.width(), targetInDevicePixels.height() / image.height());
    // A hair of tolerance, so that an exact fit computed in floating point is not pushed to the next multiple.
    return std::max(1, static_cast<int>(std::ceil(need - 1e-6)));
}

void drawPixelArt(QPainter& painter, const QImage& image, const QRectF& target, PixelFit fit) {
    if (image.isNull() || target.isEmpty()) {
        return;
    }
    const QSizeF natural = pointSize(image);
    QRectF drawn = target;
    if (fit == PixelFit::fit) {
        const double s = std::min(target.width() / natural.width(), target.height() / natural.height());
        const QSizeF size = natural * s;
        drawn = QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
    } else if (fit == PixelFit::fill) {
        // Whole device pixels per art pixel keep every pixel square; the picture stands on its bottom
        // edge, where the ground and the crew are, and loses sky and sides to the crop. A painter that
        // shrinks (the card's preview) keeps the full-size composition, so the preview shows what is saved.
        // The art pixel is as many points as at one device pixel per point, in whole device pixels: the
        // same composition at every screen ratio, whatever scale the image was rasterised at.
        const double toDevice = std::max(1.0, std::abs(painter.deviceTransform().m11()));
        const QSizeF art = natural;
        const int points = coverMultiple(art.toSize(), target.size());
        const double devicePerArtPixel = std::ceil(points * toDevice - 1e-6);
        const QSizeF size = art * (devicePerArtPixel / toDevice);
        drawn = QRectF(QPointF(target.center().x() - size.width() / 2, target.bottom() - size.height()), size);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (fit == PixelFit::fill) {
        painter.setClipRect(target, Qt::IntersectClip);
    }
    painter.drawImage(drawn, image, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.restore();
}

} // namespace pipfield
