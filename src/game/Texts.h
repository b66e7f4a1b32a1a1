#pragma once

#include "model/Text.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <type_traits>

namespace pipfield {

namespace textDetail {
inline std::string placeText(const QString& s) {
    return s.toStdString();
}
template <typename N>
requires std::is_integral_v<N> std::string placeText(N n) {
    return std::to_string(n);
}
} // namespace textDetail

/// The display texts of the game and the window, looked up in the catalogue with the Korean text as its own key.
///
/// Always written qualified, `Texts::ui("...")`, even inside a class: lupdate files a call under the context of
/// the class it names, and this one declares the program's one context (`kTextContext`), so every text lands
/// there whichever class the call stands in. An unqualified call would be filed under the calling class.
class Texts {
    Q_DECLARE_TR_FUNCTIONS(pipfield)

public:
    /// A display text through the catalogue.
    static QString ui(const char* korean) { return tr(korean); }

    /// One whole sentence with its places filled in by `fillPlaces`: numbers as plain digits, texts as they are.
    template <typename... Args>
    static QString ui(const char* korean, const Args&... args) {
        const std::array<std::string, sizeof...(Args)> values{textDetail::placeText(args)...};
        std::array<std::string_view, sizeof...(Args)> views;
        std::copy(values.begin(), values.end(), views.begin());
        return QString::fromStdString(fillPlaces(tr(korean).toStdString(), views));
    }
};

/// UTF-8 text of the rules (names, raw values) as Qt text.
inline QString fromStd(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace pipfield
