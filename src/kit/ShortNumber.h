#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

namespace pipfield {

/// A count or amount as the window shows it: grouped digits below 10000, the locale's compact form
/// with at most one fraction digit from 10000 on ("1.2만" in Korean, "12.3K" in English).
QString shortNumber(std::int64_t value, const QLocale& locale = QLocale());

} // namespace pipfield
