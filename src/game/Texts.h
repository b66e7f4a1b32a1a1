#pragma once

#include "model/Text.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <array>
#include <string>
#include <type_traits>

namespace pipfield {

/// The one translation context of the program's texts.
inline constexpr char kTextContext[] = "pipfield";

namespace textDetail {
inline std::string placeText(const QString& s) {
    return s.toStdString();
}
template <typename N>
requires std::is_integral_v<N> std::string placeText(N n) {
    return std::to_string(n);
}
} // namespace textDetail

/// A display text through the translation catalogue; the Korean text is its own key.
inline QString uiText(const char* korean) {
    return QCoreApplication::translate(kTextContext, korean);
}

/// One whole sentence with its places filled in by `fillPlaces`: numbers as plain digits, texts as they are.
template <typename... Args>
QString uiText(const char* korean, const Args&... args) {
    const std::array<std::string, sizeof...(Args)> values{textDetail::placeText(args)...};
    std::array<std::string_view, sizeof...(Args)> views;
    std::copy(values.begin(), values.end(), views.begin());
    return QString::fromStdString(fillPlaces(uiText(korean).toStdString(), views));
}

inline QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace pipfield
