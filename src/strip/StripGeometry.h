#pragma once

#include "platform/WindowList.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QScreen;

namespace pipfield {

/// Placement and full-screen rules of the strip, free of any window so they can be tested alone.
namespace StripGeometry {

inline constexpr int kHeight = 72;
inline constexpr int kMaxWidth = 746;

/// The strip's frame at the bottom centre of a screen's available area.
QRect frameFor(const QRect& available);

/// Whether a full-screen window occupies the screen `frame`: one in the window manager's full-screen
/// state whose middle lies on it or that spans it, or an unmanaged one covering it whole. Maximised
/// windows never count, however much of the screen they cover (without decorations or a top panel
/// they cover all of it).
bool fullScreenWindowOn(const QRect& frame, const std::vector<WindowEntry>& windows);

/// The screen the strip is placed on, as an index into `numbers` (the screens' display numbers) and
/// `frames` (their rectangles): the one numbered `screenID`; with 0, or a number no screen has
/// (unplugged), the one holding the middle of the focused window, else `primary`, else the first.
/// -1 when there are no screens.
int chooseScreen(const std::vector<std::uint32_t>& numbers, const std::vector<QRect>& frames, qint64 screenID,
                 const std::optional<QRectF>& focusedWindow, int primary);

/// A stable, non-zero 32-bit number for a screen, from what identifies the monitor.
std::uint32_t displayNumber(const QString& name, const QString& manufacturer, const QString& model,
                            const QString& serialNumber);
std::uint32_t displayNumber(const QScreen* screen);
/// The same for a Wayland output, from its name and description, which the compositor keeps for the
/// same monitor on the same connector from one session to the next.
std::uint32_t displayNumber(const QString& outputName, const QString& description);

} // namespace StripGeometry
} // namespace pipfield
