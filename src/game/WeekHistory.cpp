#include "game/WeekHistory.h"

#include "game/LocalTime.h"
#include "model/Saturating.h"

#include <algorithm>

namespace pipfield {

Totals grownBetween(const Totals& from, const Totals& to) {
    // Totals only grow; a hand-edited save that makes them shrink shows an empty week, not a negative one.
    const auto grown = [](std::int64_t a, std::int64_t b) { return std::max<std::int64_t>(0, saturatingSub(b, a)); };
    return {grown(from.harvested, to.harvested), grown(from.sold, to.sold), grown(from.earned, to.earned),
            grown(from.planted, to.planted)};
}

std::vector<WeekRecord> recentWeeks(const std::map<std::string, Totals>& weekStarts, const Totals& latest, Instant now,
                                    int count) {
    const QDate today = localDateTime(now).date();
    std::vector<WeekRecord> weeks;
    // Stepping back by dates, not by 7 × 24 hours, so that a change of summer time cannot skip a week.
    for (int back = count - 1; back >= 0; --back) {
        WeekRecord record{weekKey(today.addDays(qint64{-7} * back)), std::nullopt, back == 0};
        const auto it = weekStarts.find(record.key.toStdString());
        if (it != weekStarts.end()) {
            const auto next = std::next(it);
            record.done = grownBetween(it->second, record.current || next == weekStarts.end() ? latest : next->second);
        }
        weeks.push_back(std::move(record));
    }
    return weeks;
}

} // namespace pipfield
