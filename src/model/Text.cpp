#include "model/Text.h"

#include <utility>

namespace pipfield {
namespace {

TextLookup& installedLookup() {
    static TextLookup lookup;
    return lookup;
}

} // namespace

void installTextLookup(TextLookup lookup) {
    installedLookup() = std::move(lookup);
}

std::string localized(std::string_view korean) {
    const TextLookup& lookup = installedLookup();
    return lookup ? lookup(korean) : std::string(korean);
}

std::string localizedFormat(std::string_view koreanFormat, std::int64_t number) {
    const std::string format = localized(koreanFormat);
    std::string out;
    out.reserve(format.size() + 20);
    bool filled = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
        } else if (format.compare(i, 2, "%%") == 0) {
            out += '%';
            ++i;
        } else if (!filled && format.compare(i, 4, "%lld") == 0) {
            out += std::to_string(number);
            filled = true;
            i += 3;
        } else {
            out += '%';
        }
    }
    return out;
}

} // namespace pipfield
