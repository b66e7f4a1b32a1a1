#pragma once

#include <cstdint>

namespace pipfield {

/// Lifetime counters; the weekly record keeps snapshots of the same record.
struct Totals {
    std::int64_t harvested = 0;
    std::int64_t sold = 0;
    std::int64_t earned = 0;
    std::int64_t planted = 0;

    bool operator==(const Totals&) const = default;
};

} // namespace pipfield
