#include "manage/FocusRing.h"

#include <QPainter>
#include <QWidget>

namespace pipfield {

QPainterPath roundedPath(const QRect& rect, qreal radius, qreal inset) {
    QPainterPath path;
    path.addRoundedRect(QRectF(rect).adjusted(inset, inset, -inset, -inset), radius, radius);
    return path;
}

QPainterPath capsulePath(const QRect& rect, qreal inset) {
    const QRectF box = QRectF(rect).adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    path.addRoundedRect(box, box.height() / 2, box.height() / 2);
    return path;
}

bool drawFocusRing(QPainter& p, const QWidget& control, const QPainterPath& shape) {
    if (!control.hasFocus()) {
        return false;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(control.palette().color(QPalette::Active, QPalette::Highlight), 2));
    p.drawPath(shape);
    p.restore();
    return true;
}

} // namespace pipfield
