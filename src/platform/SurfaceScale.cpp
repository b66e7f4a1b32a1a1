#include "platform/SurfaceScale.h"

#include "strip/StripGeometry.h"

#include <algorithm>

namespace pipfield {

namespace {

// The compositor's numbers are not trusted to be sane: a buffer side stays within what shared
// memory and QImage handle, and the arithmetic within 64 bits.
constexpr std::int64_t kMaxSide = 16384;
constexpr int kMaxScale = 16;
constexpr std::uint32_t kScaleDenominator = 120;

int side(std::int64_t pixels) {
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 0, kMaxSide));
}

} // namespace

SurfaceScale SurfaceScale::whole(QSize logical, int outputScale) {
    const int scale = std::clamp(outputScale, 1, kMaxScale);
    const QSize buffer(side(std::int64_t{logical.width()} * scale), side(std::int64_t{logical.height()} * scale));
    return {buffer, scale, buffer / scale};
}

SurfaceScale SurfaceScale::fractional(QSize logical, std::uint32_t scale120) {
    const std::int64_t scale = std::clamp<std::uint32_t>(scale120, 1, kMaxScale * kScaleDenominator);
    // Rounded half away from zero, as the protocol asks of the buffers of a toplevel surface.
    const auto scaled = [scale](int length) {
        return side((std::max(0, length) * scale + kScaleDenominator / 2) / kScaleDenominator);
    };
    const QSize buffer(scaled(logical.width()), scaled(logical.height()));
    const int art = StripGeometry::artScale(static_cast<double>(scale) / kScaleDenominator, buffer.width());
    return {buffer, art, QSize(buffer.width() / art, buffer.height() / art)};
}

} // namespace pipfield
