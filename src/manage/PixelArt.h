#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

namespace pipfield {

/// How a picture fills the rectangle it is drawn into.
enum class PixelFit { stretch, fit, fill };

/// Draws pixel art into `target` without smoothing. `fill` crops to the target; `fit` centres.
void drawPixelArt(QPainter& painter, const QImage& image, const QRectF& target, PixelFit fit);
/// The image's size in points (its pixels over its device pixel ratio).
QSizeF pointSize(const QImage& image);

} // namespace pipfield
