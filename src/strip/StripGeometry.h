#pragma once

#include "strip/WindowList.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QScreen;

namespace pipfield {

/// Placement and full-screen rules of the strip, free of any window so they can be tested alone.
namespace StripGeometry {

/// A screen the player can choose in the settings.
struct ScreenChoice {
    std::uint32_t id;
    QString name;
};

/// An output of a compositor that places the strip itself (a Wayland output).
struct Output {
    QString name;
    QString description;
    /// In the compositor's logical coordinates.
    QSize size;
};

/// Where the strip goes among such outputs: the named one (empty: the one the compositor prefers)
/// at this size.
struct OutputPlacement {
    QString outputName;
    QSize size;

    bool operator==(const OutputPlacement&) const = default;
};

inline constexpr int kHeight = 72;
inline constexpr int kMaxWidth = 746;
/// The orchard's width in art pixels: an art scale at which it does not fit across is too large.
inline constexpr int kOrchardWidth = 724;

/// The art scale of a strip on a side of `devicePixelsAcross` at `ratio`: the nearest whole one at
/// which the orchard fits across.
int artScale(double ratio, int devicePixelsAcross);
/// The device pixels of `points` at `ratio`, rounded as the frames here are computed (half away from zero).
int devicePixels(int points, double ratio);
/// The strip's frame at the bottom centre of a screen's available area, in points: at a device
/// pixel ratio of `ratio`, sized so that its device pixels hold the strip's art pixels whole at
/// artScale (a fractional ratio gives a frame of other points than kMaxWidth x kHeight, but the art
/// at its intended size).
QRect frameFor(const QRect& available, double ratio = 1.0);

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

/// The output numbered `screenID`, sized to fit it at the surface's scale `ratio` (as frameFor); with
/// 0, or a number no output has (unplugged), the compositor's choice, sized by the first output since
/// which it prefers is not known beforehand.
OutputPlacement placeOnOutput(const std::vector<Output>& outputs, qint64 screenID, double ratio = 1.0);
/// The outputs as the settings offer them: named by their description, else by their name.
std::vector<ScreenChoice> outputChoices(const std::vector<Output>& outputs);

} // namespace StripGeometry
} // namespace pipfield
