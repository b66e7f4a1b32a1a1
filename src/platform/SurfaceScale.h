#pragma once

#include <QSize>

#include <cstdint>

namespace pipfield {

/// How a surface of some size in the compositor's logical pixels is backed by device pixels: the
/// buffer the compositor shows at that size, and the square art pixels painted into it.
struct SurfaceScale {
    /// The buffer, in device pixels.
    QSize bufferSize;
    /// Device pixels per art pixel: always whole, so that every art pixel stays square; at a
    /// fractional scale the whole one nearest it at which the orchard fits (StripGeometry::artScale).
    int artScale = 1;
    /// What the content gets to lay itself out in, in art pixels: as many whole ones as fit in the
    /// buffer. Where the scale is fractional this differs from the logical size; the strip asks for a
    /// logical size whose buffer holds the intended art (pointsHolding).
    QSize contentSize;

    /// A whole output scale (wl_surface.set_buffer_scale): the content keeps the logical size.
    static SurfaceScale whole(QSize logical, int outputScale);
    /// A preferred scale in 120ths (wp_fractional_scale_v1), for a buffer shown through a viewport
    /// at the logical size.
    static SurfaceScale fractional(QSize logical, std::uint32_t scale120);

    bool operator==(const SurfaceScale&) const = default;
};

} // namespace pipfield
