#pragma once

#include "game/Clock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <chrono>

namespace pipfield::test {

/// A wall-clock instant in the test's local time zone.
inline Instant localInstant(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    const QDateTime t(QDate(year, month, day), QTime(hour, minute, second));
    return Instant{} + std::chrono::milliseconds(t.toMSecsSinceEpoch());
}

} // namespace pipfield::test
