#include "strip/StripGeometry.h"

#include <QScreen>
#include <QStringList>

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

bool fullScreenWindowOn(const QRect& frame, int topInset, const std::vector<WindowEntry>& windows) {
    // Window rectangles and screens share Qt's desktop coordinates (top-left origin, y downward),
    // so the screen needs no conversion.
    const double top = frame.y();
    const double bottom = top + frame.height();
    const double left = frame.x();
    const double width = frame.width();
    const double limit = top + topInset + 1;

    bool found = false;
    bool menuBarSeen = false;
    for (const WindowEntry& window : windows) {
        const QRectF& r = window.bounds;
        const bool spans = std::abs(r.left() - left) < 1 && r.width() >= width - 1;
        if (window.layer == WindowList::kMenuBarLayer && spans && std::abs(r.top() - top) < 1) {
            menuBarSeen = true;
            continue;
        }
        if (window.layer != WindowList::kNormalLayer || !spans) {
            continue;
        }
        if (std::abs(r.top() + r.height() - bottom) < 1 && r.top() <= limit) {
            found = true;
        }
    }
    return found && !menuBarSeen;
}

namespace {

std::uint32_t hashIdentity(const QStringList& parts) {
    // FNV-1a over the monitor's identity: the same monitor keeps its number across launches and ports.
    std::uint32_t hash = 2166136261u;
    const QByteArray bytes = parts.join(QChar(0x1f)).toUtf8();
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash; // 0 means "any screen" in the settings
}

} // namespace

std::uint32_t displayNumber(const QString& name, const QString& manufacturer, const QString& model,
                            const QString& serialNumber) {
    return hashIdentity({name, manufacturer, model, serialNumber});
}

std::uint32_t displayNumber(const QString& outputName, const QString& description) {
    return hashIdentity({outputName, description});
}

std::uint32_t displayNumber(const QScreen* screen) {
    return screen == nullptr
               ? 0
               : displayNumber(screen->name(), screen->manufacturer(), screen->model(), screen->serialNumber());
}

} // namespace pipfield::StripGeometry
