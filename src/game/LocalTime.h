#pragma once

#include "game/Clock.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace pipfield {

/// The instant on the computer's local clock, to the millisecond.
QDateTime localDateTime(Instant t);

/// The ISO week a local date falls in, as the save file names it: "2026-W07".
QString weekKey(QDate date);

} // namespace pipfield
