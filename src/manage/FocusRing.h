#pragma once

#include <QPainterPath>
#include <QRect>

class QPainter;
class QWidget;

namespace pipfield {

/// The rounded rectangle the window's hand-painted controls are drawn as: `rect` inset by `inset` on
/// every side, with corners of `radius`.
QPainterPath roundedPath(const QRect& rect, qreal radius, qreal inset = 1);

/// The same with ends of half the height: a capsule.
QPainterPath capsulePath(const QRect& rect, qreal inset = 1);

/// The one way the window's own controls show keyboard focus: while `control` has it, a 2-point ring
/// in its palette's highlight colour along `shape`, which the caller keeps inside the control's
/// rectangle. True when the ring was drawn.
bool drawFocusRing(QPainter& painter, const QWidget& control, const QPainterPath& shape);

} // namespace pipfield
