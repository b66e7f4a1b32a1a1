#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

namespace pipfield {

/// How a picture fills the rectangle it is drawn into: `stretch` to its size, `fit` inside it (centred),
/// `fill` by the smallest whole number of device pixels per art pixel that covers it, standing on the
/// target's bottom edge, centred across and cropped.
enum class PixelFit { stretch, fit, fill };

/// Draws pixel art into `target` without smoothing.
void drawPixelArt(QPainter& painter, const QImage& image, const QRectF& target, PixelFit fit);
/// The image's size in points (its pixels over its device pixel ratio).
QSizeF pointSize(const QImage& image);
/// The smallest whole scale at which an image of `image` pixels covers the target.
int coverMultiple(const QSize& image, const QSizeF& targetInDevicePixels);

} // namespace pipfield
