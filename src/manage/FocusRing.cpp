#include "manage/FocusRing.h"

#include <QPainter>

namespace pipfield {

void drawFocusRing(QPainter& p, const QPainterPath& shape, const QPalette& palette) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette.color(QPalette::Active, QPalette::Highlight), 2));
    p.drawPath(shape);
    p.restore();
}

} // namespace pipfield
