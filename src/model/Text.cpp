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

std::string fillPlaces(std::string_view text, std::span<const std::string_view> values) {
    std::string out;
    out.reserve(text.size() + 16 * values.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '%') {
            out += text[i];
        } else if (next == '%') {
            out += '%';
            ++i;
        } else if (next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < values.size()) {
            out += values[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            out += '%';
        }
    }
    return out;
}

std::string localized(std::string_view korean, std::initializer_list<std::string_view> values) {
    return fillPlaces(localized(korean), std::span(values.begin(), values.size()));
}

} // namespace pipfield
