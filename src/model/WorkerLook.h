#pragma once

#include "model/Catalog.h"

#include <cstdint>
#include <string>

namespace pipfield {

/// How one worker slot looks: body variant, dye index (0 keeps the sprite's colours) and chosen name.
struct WorkerLook {
    std::int64_t variant = 0;
    std::int64_t dye = 0;
    std::string name;

    bool operator==(const WorkerLook&) const = default;
};

/// The key of a worker slot in the orchard's looks, for example "harvester-1".
std::string slotKey(WorkerRole role, std::int64_t slot);

} // namespace pipfield
