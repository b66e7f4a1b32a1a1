#include "platform/ShmBuffer.h"

#include "platform/Logging.h"

#include <wayland-client.h>

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace pipfield {

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, QSize pixels) {
    const int stride = pixels.width() * 4;
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(pixels.height());
    const int fd = memfd_create("pipfield-strip", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(bytes)) < 0) {
        qCWarning(lcDesktop) << "no shared memory for the strip:" << std::strerror(errno);
        if (fd >= 0) {
            close(fd);
        }
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> buffer(new ShmBuffer);
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        qCWarning(lcDesktop) << "no shared memory for the strip:" << std::strerror(errno);
        close(fd);
        return nullptr;
    }
    buffer->m_data = data;
    buffer->m_bytes = bytes;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<std::int32_t>(bytes));
    buffer->m_buffer =
        wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    // ARGB8888 of the protocol is premultiplied, little-endian 32-bit words: QImage's own layout.
    buffer->m_image =
        QImage(static_cast<uchar*>(data), pixels.width(), pixels.height(), stride, QImage::Format_ARGB32_Premultiplied);
    return buffer;
}

ShmBuffer::~ShmBuffer() {
    if (m_buffer != nullptr) {
        wl_buffer_destroy(m_buffer);
    }
    if (m_data != nullptr) {
        munmap(m_data, m_bytes);
    }
}

} // namespace pipfield
