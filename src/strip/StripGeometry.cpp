#include "strip/StripGeometry.h"

#include "scene/ArtScale.h"

#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace pipfield::StripGeometry {

int artScale(double ratio, int devicePixelsAcross) {
    return fittingArtScale(ratio, devicePixelsAcross, kOrchardWidth);
}

int devicePixels(int points, double ratio) {
    return pipfield::devicePixels(points, ratio);
}

QRect frameFor(const QRect& available, double ratio) {
    // As many art pixels across as the screen holds, up to the strip's width.
    const int across = devicePixels(available.width(), ratio);
    const int scale = artScale(ratio, across);
    const int width = std::min(available.width(), pointsHolding(std::min(kMaxWidth, across / scale), ratio, scale));
    const int height = pointsHolding(kHeight, ratio, scale);
    // The middle of an odd width lies on a half point; halves round away from zero.
    const double middle = available.x() + available.width() / 2.0;
    const int x = static_cast<int>(std::round(middle - width / 2.0));
    return QRect(x, available.y() + available.height() - height, width, height);
}

bool fullScreenWindowOn(const QRect& frame, const std::vector<WindowEntry>& windows) {
    // Window rectangles and screens share Qt's desktop coordinates (top-left origin, y downward).
    // Half a point of slack on each edge absorbs rounding of fractional device pixel ratios.
    const QRectF screen = QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5);
    // A window in the full-screen state need not cover the screen to the pixel: an X client may keep
    // a border of its own inside the window manager's full-screen frame (i3 leaves xev 1916 x 1076 of
    // 1920 x 1080), and a window manager may size it a little short. The state says it is full
    // screen; its middle says on which screen. Half-open, so that a middle on the edge between two
    // screens belongs to one of them.
    const auto middleOnScreen = [&](const QRectF& bounds) {
        const QPointF middle = bounds.center();
        return middle.x() >= frame.x() && middle.x() < frame.x() + frame.width() && middle.y() >= frame.y() &&
               middle.y() < frame.y() + frame.height();
    };
    return std::any_of(windows.begin(), windows.end(), [&](const WindowEntry& window) {
        switch (window.kind) {
        case WindowEntry::Kind::FullScreen:
            // One spread over several monitors holds its middle on only one of the screens it covers.
            return middleOnScreen(window.bounds) || window.bounds.contains(screen);
        case WindowEntry::Kind::Unmanaged:
            // Nothing tells an old game's full-screen window from a menu or a tooltip but its size.
            return window.bounds.contains(screen);
        case WindowEntry::Kind::Ordinary:
            return false;
        }
        return false;
    });
}

int chooseScreen(const std::vector<std::uint32_t>& numbers, const std::vector<QRect>& frames, qint64 screenID,
                 const std::optional<QRectF>& focusedWindow, int primary) {
    if (screenID != 0) {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (numbers[i] == screenID) {
                return static_cast<int>(i);
            }
        }
    }
    if (focusedWindow) {
        const QPointF middle = focusedWindow->center();
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (QRectF(frames[i]).contains(middle)) {
                return static_cast<int>(i);
            }
        }
    }
    if (primary >= 0 && primary < static_cast<int>(frames.size())) {
        return primary;
    }
    return frames.empty() ? -1 : 0;
}

namespace {

std::uint32_t hashIdentity(const QString& identity) {
    // FNV-1a: the same identity gives the same number in every run.
    std::uint32_t hash = 2166136261u;
    const QByteArray bytes = identity.toUtf8();
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash; // 0 means "any screen" in the settings
}

} // namespace

std::uint32_t displayNumber(const QString& name, const QString& manufacturer, const QString& model,
                            const QString& serialNumber) {
    // The monitor's own identity from its EDID, where it has one: the same monitor then keeps its
    // number whichever connector it is plugged into and whatever name the server gives it (XWayland
    // numbers its outputs in the order they come). Two monitors of one model without serial numbers
    // are told apart by their connectors; with no EDID at all the name is all there is.
    if (!serialNumber.isEmpty()) {
        return hashIdentity(manufacturer + '\x1f' + model + '\x1f' + serialNumber);
    }
    if (!model.isEmpty()) {
        return hashIdentity(manufacturer + '\x1f' + model + '\x1f' + '\x1f' + name);
    }
    return hashIdentity(name);
}

std::uint32_t displayNumber(const QString& outputName, const QString& description) {
    return hashIdentity(outputName + QChar(0x1f) + description);
}

OutputPlacement placeOnOutput(const std::vector<Output>& outputs, qint64 screenID, double ratio) {
    const auto chosen = std::find_if(outputs.begin(), outputs.end(), [screenID](const Output& output) {
        return screenID != 0 && displayNumber(output.name, output.description) == screenID;
    });
    const Output* sizedBy = chosen != outputs.end() ? &*chosen : (outputs.empty() ? nullptr : &outputs.front());
    // An output of unknown size has room for the whole strip.
    const QSize room = sizedBy != nullptr && !sizedBy->size.isEmpty() ? sizedBy->size : QSize(1 << 14, 1 << 14);
    const QSize size = frameFor(QRect(QPoint(0, 0), room), ratio).size();
    return {chosen != outputs.end() ? chosen->name : QString(), size};
}

std::vector<ScreenChoice> outputChoices(const std::vector<Output>& outputs) {
    std::vector<ScreenChoice> choices;
    for (const Output& output : outputs) {
        choices.push_back({displayNumber(output.name, output.description),
                           output.description.isEmpty() ? output.name : output.description});
    }
    return choices;
}

std::uint32_t displayNumber(const QScreen* screen) {
    return screen == nullptr
               ? 0
               : displayNumber(screen->name(), screen->manufacturer(), screen->model(), screen->serialNumber());
}

} // namespace pipfield::StripGeometry
