#include "strip/StripGeometry.h"

#include <QScreen>

#include <algorithm>
#include <cmath>

namespace pipfield::StripGeometry {

QRect frameFor(const QRect& available) {
    const int width = std::min(available.width(), kMaxWidth);
    // The middle of an odd width lies on a half point; halves round away from zero.
    const double middle = available.x() + available.width() / 2.0;
    const int x = static_cast<int>(std::round(middle - width / 2.0));
    return QRect(x, available.y() + available.height() - kHeight, width, kHeight);
}

bool fullScreenWindowOn(const QRect& frame, const std::vector<WindowEntry>& windows) {
    // Window rectangles and screens share Qt's desktop coordinates (top-left origin, y downward).
    // Half a point of slack on each edge absorbs rounding of fractional device pixel ratios.
    const QRectF screen = QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5);
    return std::any_of(windows.begin(), windows.end(), [&](const WindowEntry& window) {
        return window.kind != WindowEntry::Kind::Ordinary && window.bounds.contains(screen);
    });
}

std::uint32_t displayNumber(const QString& name, const QString& manufacturer, const QString& model,
                            const QString& serialNumber) {
    // FNV-1a over the monitor's identity: the same monitor keeps its number across launches and ports.
    std::uint32_t hash = 2166136261u;
    const QByteArray bytes = (name + '\x1f' + manufacturer + '\x1f' + model + '\x1f' + serialNumber).toUtf8();
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash; // 0 means "any screen" in the settings
}

std::uint32_t displayNumber(const QScreen* screen) {
    return screen == nullptr
               ? 0
               : displayNumber(screen->name(), screen->manufacturer(), screen->model(), screen->serialNumber());
}

} // namespace pipfield::StripGeometry
