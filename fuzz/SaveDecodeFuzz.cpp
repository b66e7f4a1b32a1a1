#include "NumberMutator.h"
#include "model/SaveFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    return pipfield::fuzz::mutateNumbers(data, size, maxSize, seed);
}

// Any bytes decode to a save or to a reason; a decoded save must also survive the game's first moves.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    pipfield::SaveDecoding decoded = pipfield::decodeSave(text);
    if (!decoded.save) {
        if (decoded.error.empty()) {
            std::abort();
        }
        return 0;
    }
    pipfield::Orchard& o = decoded.save->orchard;
    o.advance(60, pipfield::Season::autumn);
    (void)o.harvest(0);
    (void)o.crateValue(pipfield::Season::winter);
    if (const auto written = pipfield::encodeSave(*decoded.save)) {
        const pipfield::SaveDecoding again = pipfield::decodeSave(*written);
        if (!again.save || !(*again.save == *decoded.save)) {
            std::abort(); // what we write we must read back unchanged
        }
    }
    return 0;
}
