#include "model/WorkerLook.h"

namespace pipfield {

std::string slotKey(WorkerRole role, std::int64_t slot) {
    std::string key(rawValue(role));
    key += '-';
    key += std::to_string(slot);
    return key;
}

} // namespace pipfield
