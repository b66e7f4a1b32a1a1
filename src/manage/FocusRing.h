#pragma once

#include <QPainterPath>
#include <QPalette>

class QPainter;

namespace pipfield {

/// The one way the window's own controls show keyboard focus: a 2-point ring in the palette's
/// highlight colour along `shape`, which the caller keeps inside the control's rectangle.
void drawFocusRing(QPainter& painter, const QPainterPath& shape, const QPalette& palette);

} // namespace pipfield
