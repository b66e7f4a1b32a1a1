#pragma once

#include "scene/Palette.h"

class QColor;
class QPalette;

namespace pipfield {

/// Whether a widget palette reads as a dark appearance: its window colour is darker than middle grey.
bool looksDark(const QPalette& palette);

/// A colour grade on stored bytes: each channel times its multiplier, plus its offset in byte units.
struct Grade {
    double mulR = 1.0;
    double mulG = 1.0;
    double mulB = 1.0;
    double addR = 0.0;
    double addG = 0.0;
    double addB = 0.0;

    bool operator==(const Grade&) const = default;
    bool isIdentity() const { return *this == Grade{}; }
    /// An opaque colour under the grade, as a sprite's opaque pixel of that colour would be.
    QColor apply(QColor color) const;

    /// The grade for a theme, the hour, the time-of-day setting and a dark appearance.
    static Grade rule(Palette::Theme theme, int hour, bool timeOfDayLight, bool dark);
};

} // namespace pipfield
