#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <initializer_list>

namespace pipfield {

/// The display text for a Korean key, through the installed translations.
inline QString tr_(const char* korean) {
    return QCoreApplication::translate("pipfield", korean);
}

/// Fills each "%lld" of a looked-up key with the next number, in full decimal.
inline QString formatCounts(QString text, std::initializer_list<std::int64_t> numbers) {
    for (std::int64_t n : numbers) {
        const qsizetype at = text.indexOf(QLatin1String("%lld"));
        if (at < 0) {
            break;
        }
        text.replace(at, 4, QString::number(n));
    }
    return text;
}

} // namespace pipfield
