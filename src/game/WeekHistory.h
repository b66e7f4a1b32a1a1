#pragma once

#include "game/Clock.h"
#include "model/Totals.h"

#include <QString>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pipfield {

/// One calendar week of the record.
struct WeekRecord {
    /// "YYYY-Www", as the weekly snapshots are keyed.
    QString key;
    /// What the orchard did from this week's snapshot to the next one kept (or to now); nothing when
    /// the game took no snapshot that week (it did not run).
    std::optional<Totals> done;
    bool current = false;

    bool operator==(const WeekRecord&) const = default;
};

/// What the orchard did from the totals `from` to the totals `to`, counter by counter, never below
/// zero.
Totals grownBetween(const Totals& from, const Totals& to);

/// The `count` weeks up to the one holding `now`, oldest first, told from the weekly snapshots and the
/// running totals `latest`; nothing new is stored for it.
std::vector<WeekRecord> recentWeeks(const std::map<std::string, Totals>& weekStarts, const Totals& latest, Instant now,
                                    int count);

} // namespace pipfield
