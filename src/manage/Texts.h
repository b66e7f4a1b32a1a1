#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>
#include <type_traits>

namespace pipfield {

namespace textDetail {
inline QString argText(const QString& s) {
    return s;
}
template <typename N>
requires std::is_integral_v<N> QString argText(N n) {
    return QString::number(static_cast<qlonglong>(n));
}
} // namespace textDetail

/// A window text through the translation catalogue; the Korean text is its own key.
inline QString uiText(const char* korean) {
    return QCoreApplication::translate("pipfield", korean);
}

/// One whole sentence with its places "%1", "%2", ... filled in: numbers as plain digits, texts as
/// they are. The sentence is a single key so that a translation may put the places in another order.
template <typename... Args>
QString uiText(const char* korean, const Args&... args) {
    return uiText(korean).arg(textDetail::argText(args)...);
}

inline QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace pipfield
