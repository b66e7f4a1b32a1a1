#include "kit/RegionRects.h"
#include "platform/LayerShellStrip.h"
#include "platform/Logging.h"
#include "viewporter-client-protocol.h"

#include <QTimer>

#include <wayland-client.h>

#include <algorithm>

// The layer surface's pixels: its scale, its shared-memory buffers, and painting them paced by the
// compositor's frame callbacks.
namespace pipfield {

// The C callbacks of libwayland for frames and buffers, forwarding to the strip.
struct LayerFrameListeners {
    static LayerShellStrip* strip(void* data) { return static_cast<LayerShellStrip*>(data); }

    static void frameDone(void* data, wl_callback*, std::uint32_t) { strip(data)->onFrameDone(); }
    static constexpr wl_callback_listener frame{frameDone};

    static void release(void* data, wl_buffer* released) { strip(data)->onBufferRelease(released); }
    static constexpr wl_buffer_listener buffer{release};
};

void LayerShellStrip::onSurfaceOutput(wl_output* output, bool entered) {
    std::erase(m_surfaceOutputs, output);
    if (entered) {
        m_surfaceOutputs.push_back(output);
    }
    rescale();
}

void LayerShellStrip::onPreferredScale(std::uint32_t scale120) {
    qCDebug(lcDesktop) << "the compositor prefers the strip at a scale of" << scale120 / 120.0;
    m_preferredScale = scale120;
    rescale();
}

void LayerShellStrip::rescale() {
    const QSize before = m_size;
    place(m_screenID);
    // A new size is painted when the compositor configures it; painting the old size at the new scale
    // first would lay the scene out in too few art pixels for one frame.
    if (m_size == before) {
        applyGeometry();
    }
}

std::uint32_t LayerShellStrip::fractionalScale() const {
    if (m_viewport == nullptr) {
        return 0;
    }
    if (m_preferredScale != 0) {
        return m_preferredScale;
    }
    // A compositor without wp_fractional_scale_v1 (sway 1.7) scales a whole-scale buffer down to a
    // fractional output, blending its pixels; the output's mode over its logical size (xdg-output)
    // says the fraction, and through the viewport the buffer can have the output's device pixels.
    const WaylandOutput* output = !m_surfaceOutputs.empty() ? m_wayland.findOutput(m_surfaceOutputs.front()) : nullptr;
    if (output == nullptr) {
        output = m_wayland.findOutput(wantedOutput());
    }
    if (output == nullptr || output->xdgLogicalSize.isEmpty() || output->modeSize.isEmpty()) {
        return 0;
    }
    const bool turned = output->transform % 2 == 1; // the 90 and 270 degree transforms, flipped or not
    const std::int64_t across = turned ? output->modeSize.height() : output->modeSize.width();
    const std::int64_t logical = output->xdgLogicalSize.width();
    const std::int64_t scale120 = (across * 120 + logical / 2) / logical;
    return scale120 % 120 == 0 || scale120 > std::int64_t{16} * 120 ? 0 : static_cast<std::uint32_t>(scale120);
}

int LayerShellStrip::outputScale() const {
    // The scale of the output the surface is on; before the compositor says, that of the output asked for.
    int scale = 0;
    for (wl_output* shownOn : m_surfaceOutputs) {
        if (const WaylandOutput* output = m_wayland.findOutput(shownOn)) {
            scale = std::max(scale, output->scale);
        }
    }
    if (scale != 0) {
        return scale;
    }
    const WaylandOutput* target = m_wayland.findOutput(wantedOutput());
    if (target == nullptr && !m_wayland.outputs().empty()) {
        target = m_wayland.outputs().front().get();
    }
    return target != nullptr ? target->scale : 1;
}

void LayerShellStrip::applyGeometry() {
    const QSize logical = m_configuredSize.isValid() ? m_configuredSize : m_size;
    // A compositor's preferred fractional scale counts over the whole scales of its outputs, which it
    // rounds up.
    const std::uint32_t fraction = fractionalScale();
    const SurfaceScale next =
        fraction != 0 ? SurfaceScale::fractional(logical, fraction) : SurfaceScale::whole(logical, outputScale());
    const bool needsBuffers = m_configured && !m_buffers.front();
    if (next == m_geometry && !needsBuffers) {
        return;
    }
    const bool rescaled = next.artScale != m_geometry.artScale;
    m_geometry = next;
    // The content learns its size once the surface has one, and again with each new surface: the
    // widget that holds the scene may have been laid out to another size in between.
    if (m_configured && m_content.resize) {
        m_content.resize(next.contentSize);
    }
    resizeBuffers();
    if (rescaled && m_content.scale) {
        m_content.scale(next.artScale);
    }
    schedulePaint();
}

void LayerShellStrip::resizeBuffers() {
    for (auto& buffer : m_buffers) {
        buffer.reset();
    }
    if (!m_configured || m_geometry.bufferSize.isEmpty()) {
        return;
    }
    for (auto& slot : m_buffers) {
        slot = ShmBuffer::create(m_wayland.shm(), m_geometry.bufferSize);
        if (!slot) {
            return;
        }
        wl_buffer_add_listener(slot->buffer(), &LayerFrameListeners::buffer, this);
        // Whole device pixels per art pixel; a fractional rest at the right and bottom edges stays clear.
        slot->image().setDevicePixelRatio(m_geometry.artScale);
        slot->dirty = QRegion(QRect(QPoint(0, 0), m_geometry.contentSize));
    }
    m_needsPaint = true;
}

void LayerShellStrip::damage(const QRegion& region) {
    for (auto& buffer : m_buffers) {
        if (buffer) {
            buffer->dirty += region & QRect(QPoint(0, 0), m_geometry.contentSize);
        }
    }
    m_needsPaint = true;
    schedulePaint();
}

void LayerShellStrip::schedulePaint() {
    // While a frame is pending the compositor has not shown the last one yet; its callback paints.
    // A compositor that stops calling back (the output is off or hidden) stops the painting.
    if (m_paintPlanned || m_frame != nullptr || !m_configured) {
        return;
    }
    m_paintPlanned = true;
    // Everything damaged in this pass of the event loop goes into one paint.
    QTimer::singleShot(0, this, [this] {
        m_paintPlanned = false;
        paint();
    });
}

ShmBuffer* LayerShellStrip::freeBuffer() {
    for (auto& buffer : m_buffers) {
        if (buffer && !buffer->busy) {
            return buffer.get();
        }
    }
    return nullptr;
}

void LayerShellStrip::paint() {
    if (!m_needsPaint || !m_configured || m_surface == nullptr || m_frame != nullptr || m_wayland.failed()) {
        return;
    }
    ShmBuffer* buffer = freeBuffer();
    if (buffer == nullptr) {
        return; // painted once the compositor releases one
    }
    // Taken before painting: whatever the content damages while it paints waits for the next frame.
    const QRegion region = buffer->dirty;
    buffer->dirty = QRegion();
    m_needsPaint = false;
    if (region.isEmpty() && m_attached) {
        return;
    }
    const std::vector<QRect> rects = wholeRects(region);
    if (!region.isEmpty()) {
        if (m_content.paint) {
            m_content.paint(buffer->image(), region);
        }
    }
    // The new scale goes with the first buffer of the new size: a commit of the old buffer at the
    // new scale could have a size the scale does not divide. Through a viewport the buffer is shown
    // at the logical size whatever its own.
    const int bufferScale = m_viewport != nullptr ? 1 : m_geometry.artScale;
    if (m_bufferScale != bufferScale) {
        wl_surface_set_buffer_scale(m_surface, bufferScale);
        m_bufferScale = bufferScale;
    }
    if (m_viewport != nullptr && m_viewportSize != m_configuredSize) {
        wp_viewport_set_destination(m_viewport, m_configuredSize.width(), m_configuredSize.height());
        m_viewportSize = m_configuredSize;
    }
    wl_surface_attach(m_surface, buffer->buffer(), 0, 0);
    const int art = m_geometry.artScale;
    for (const QRect& rect : rects) {
        wl_surface_damage_buffer(m_surface, rect.x() * art, rect.y() * art, rect.width() * art, rect.height() * art);
    }
    m_frame = wl_surface_frame(m_surface);
    wl_callback_add_listener(m_frame, &LayerFrameListeners::frame, this);
    commit();
    buffer->busy = true;
    m_attached = true;
    m_frameStall.start();
}

void LayerShellStrip::onFrameDone() {
    wl_callback_destroy(m_frame);
    m_frame = nullptr;
    m_frameStall.stop();
    // The compositor shows the strip again: the scene goes on from now.
    setContentShown(true);
    if (m_needsPaint) {
        paint();
    }
}

void LayerShellStrip::onFrameStalled() {
    if (m_frame == nullptr) {
        return;
    }
    // The callback stays asked for: the compositor answers it once the strip is in sight again.
    qCDebug(lcDesktop) << "no frame callback for" << kFrameStallMs << "ms: the strip is out of sight";
    setContentShown(false);
}

void LayerShellStrip::setContentShown(bool shown) {
    if (shown == m_contentShown || (shown && !m_configured)) {
        return;
    }
    m_contentShown = shown;
    if (m_content.shown) {
        m_content.shown(shown);
    }
}

void LayerShellStrip::onBufferRelease(wl_buffer* released) {
    for (auto& buffer : m_buffers) {
        if (buffer && buffer->buffer() == released) {
            buffer->busy = false;
        }
    }
    if (m_needsPaint && m_frame == nullptr) {
        paint();
    }
}

} // namespace pipfield
