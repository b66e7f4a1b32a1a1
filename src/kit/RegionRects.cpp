#include "kit/RegionRects.h"

#include <algorithm>

namespace pipfield {

std::vector<QRect> wholeRects(const QRegion& region) {
    std::vector<QRect> rects;
    rects.reserve(static_cast<std::size_t>(region.rectCount()));
    // The bands come from top to bottom, so the piece just above a piece is already taken.
    for (const QRect& piece : region) {
        const auto above = std::find_if(rects.begin(), rects.end(), [&piece](const QRect& rect) {
            return rect.left() == piece.left() && rect.right() == piece.right() && rect.bottom() + 1 == piece.top();
        });
        if (above != rects.end()) {
            above->setBottom(piece.bottom());
        } else {
            rects.push_back(piece);
        }
    }
    return rects;
}

} // namespace pipfield
