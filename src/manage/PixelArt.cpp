#include "manage/PixelArt.h"

#include <QPainter>

#include <algorithm>

namespace pipfield {

QSizeF pointSize(const QImage& image) {
    const double ratio = image.devicePixelRatio() > 0 ? image.devicePixelRatio() : 1.0;
    return QSizeF(image.width() / ratio, image.height() / ratio);
}

void drawPixelArt(QPainter& painter, const QImage& image, const QRectF& target, PixelFit fit) {
    if (image.isNull() || target.isEmpty()) {
        return;
    }
    const QSizeF natural = pointSize(image);
    QRectF drawn = target;
    if (fit != PixelFit::stretch) {
        const double sx = target.width() / natural.width();
        const double sy = target.height() / natural.height();
        const double s = fit == PixelFit::fit ? std::min(sx, sy) : std::max(sx, sy);
        const QSizeF size = natural * s;
        drawn = QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
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
