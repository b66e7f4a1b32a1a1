#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pipfield {

/// The catalogue context of every display text of the program, the rules' and the window's alike.
inline constexpr std::string_view kTextContext = "pipfield";

/// A display text of the rules, marked for lupdate, which reads the call as QT_TRANSLATE_NOOP and files the text
/// under the context written first. The context is written out because the tool takes it from the call; any
/// other than `kTextContext` would be filed where the program never looks, so it does not compile. Stands for
/// the text unchanged: the lookup happens where the text is shown, through `localized`.
consteval std::string_view textKey(std::string_view context, std::string_view korean) {
    if (context != kTextContext) {
        throw std::invalid_argument("a display text outside the program's one context");
    }
    return korean;
}

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
