#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace pipfield {

/// A window text through the translation catalogue; the Korean text is its own key.
inline QString uiText(const char* korean) {
    return QCoreApplication::translate("pipfield", korean);
}

/// Looks up a format key and fills its "%lld" places with the numbers, in order, as plain digits.
inline QString uiFormat(const char* koreanFormat, std::initializer_list<std::int64_t> numbers) {
    QString out = uiText(koreanFormat);
    qsizetype from = 0;
    for (std::int64_t n : numbers) {
        const qsizetype at = out.indexOf(QLatin1String("%lld"), from);
        if (at < 0) {
            break;
        }
        const QString digits = QString::number(static_cast<qlonglong>(n));
        out.replace(at, 4, digits);
        from = at + digits.size();
    }
    return out;
}

inline QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace pipfield
