#pragma once

#include <QRect>
#include <QRegion>

#include <vector>

namespace pipfield {

/// The rectangles of a region as they were damaged. QRegion cuts every rectangle into bands where
/// another one beside it starts or ends; the pieces of one rectangle are joined again, so that a
/// paint fills, draws and sends each damaged place once rather than in slices. They never overlap.
std::vector<QRect> wholeRects(const QRegion& region);

} // namespace pipfield
