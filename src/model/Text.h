#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pipfield {

/// Translates a Korean display text (the text itself is the key) into the user's language.
using TextLookup = std::function<std::string(std::string_view korean)>;

/// Installs the application's lookup; an empty function restores the identity.
void installTextLookup(TextLookup lookup);

/// The display text for a Korean key, through the installed lookup.
std::string localized(std::string_view korean);

/// Looks up a format key containing one "%lld" (and "%%" for a percent sign) and fills in the number.
std::string localizedFormat(std::string_view koreanFormat, std::int64_t number);

} // namespace pipfield
