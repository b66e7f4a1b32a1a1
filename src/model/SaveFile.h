#pragma once

#include "model/Orchard.h"
#include "model/Totals.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pipfield {

/// Seconds from the Unix epoch to 2001-01-01 00:00:00 UTC, the reference instant of saved dates.
inline constexpr double kReferenceDateUnixSeconds = 978307200.0;

/// What the save file holds.
struct Save {
    Orchard orchard;
    /// The instant up to which the orchard has been simulated, in seconds since 2001-01-01 UTC.
    double lastUpdated = 0;
    /// Lifetime totals as they stood when each week (keyed "YYYY-Www") began.
    std::map<std::string, Totals> weekStarts;

    bool operator==(const Save&) const = default;
};

/// The outcome of reading a save document: the record, or why it is unreadable.
struct SaveDecoding {
    std::optional<Save> save;
    std::string error;
};

/// Reads a save document strictly: a missing required key, a wrong type, a fraction where an integer
/// belongs or an unknown kind or role makes the whole document unreadable. Never throws.
SaveDecoding decodeSave(std::string_view document);

/// Writes the document compactly in UTF-8; nothing when a real is not finite. Never throws.
std::optional<std::string> encodeSave(const Save& save);

} // namespace pipfield
