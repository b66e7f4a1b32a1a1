#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace pipfield {

/// Translates a Korean display text (the text itself is the key) into the user's language.
using TextLookup = std::function<std::string(std::string_view korean)>;

/// Installs the application's lookup; an empty function restores the identity.
void installTextLookup(TextLookup lookup);

/// The display text for a Korean key, through the installed lookup.
std::string localized(std::string_view korean);

/// Fills the places of a display text: "%1" to "%9" take the values in order and "%%" is a percent sign;
/// any other "%" stands as written. One pass, so a value that itself reads "%1" is shown as it is. The
/// whole sentence is one key, so a translation may put the places in another order.
std::string fillPlaces(std::string_view text, std::span<const std::string_view> values);

/// `localized` followed by `fillPlaces`.
std::string localized(std::string_view korean, std::initializer_list<std::string_view> values);

} // namespace pipfield
