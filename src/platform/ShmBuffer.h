#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

#include <cstddef>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace pipfield {

/// A buffer the compositor reads from shared memory, and an image over the same pixels to paint
/// into (premultiplied ARGB, the layout of both).
class ShmBuffer {
public:
    /// Nothing, and a warning, when no shared memory can be had.
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, QSize pixels);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return m_buffer; }
    QImage& image() { return m_image; }

    /// The compositor holds it until it releases it.
    bool busy = false;
    /// Everything that changed since this buffer was last painted.
    QRegion dirty;

private:
    ShmBuffer() = default;

    wl_buffer* m_buffer = nullptr;
    void* m_data = nullptr;
    std::size_t m_bytes = 0;
    QImage m_image;
};

} // namespace pipfield
