#pragma once

#include "scene/Palette.h"

#include <QDateTime>
#include <QString>

namespace pipfield {

/// The orchard scene. For now it holds only the clock inputs of the colour grade.
class OrchardView {
public:
    /// The hour override when it is a decimal integer (optional sign, not clamped), else the local hour of `now`.
    static int hour(const QString& hourOverride, const QDateTime& now);
    /// Always day when the time-of-day light is off; else the period of the hour.
    static Palette::Period period(bool timeOfDayLight, int hour);
};

} // namespace pipfield
