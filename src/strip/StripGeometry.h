#pragma once

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/WindowList.h"

class QScreen;

namespace pipfield {

/// Placement and full-screen rules of the strip, free of any window so they can be tested alone.
namespace StripGeometry {

inline constexpr int kHeight = 72;
inline constexpr int kMaxWidth = 746;

/// The strip's frame at the bottom centre of a screen's available area.
QRect frameFor(const QRect& available);

/// Whether an ordinary window covers the whole of the screen `frame` (up to `topInset`, where the
/// screen has a notch) while no panel shows along its top edge. A merely maximized window fails:
/// the panel above it is seen, or it stops short of an edge.
bool fullScreenWindowOn(const QRect& frame, int topInset, const std::vector<WindowEntry>& windows);

/// A stable, non-zero 32-bit number for a screen, from what identifies the monitor.
std::uint32_t displayNumber(const QString& name, const QString& manufacturer, const QString& model,
                            const QString& serialNumber);
std::uint32_t displayNumber(const QScreen* screen);
/// The same for a Wayland output, from its name and description, which the compositor keeps for the
/// same monitor on the same connector from one session to the next.
std::uint32_t displayNumber(const QString& outputName, const QString& description);

} // namespace StripGeometry
} // namespace pipfield
