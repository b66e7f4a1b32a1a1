#include "game/LocalTime.h"

namespace pipfield {

QDateTime localDateTime(Instant t) {
    return QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count());
}

QString weekKey(QDate date) {
    int year = 0;
    const int week = date.weekNumber(&year);
    return QString::asprintf("%04d-W%02d", year, week);
}

} // namespace pipfield
