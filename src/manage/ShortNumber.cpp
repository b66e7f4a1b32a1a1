#include "manage/ShortNumber.h"

#include <unicode/locid.h>
#include <unicode/numberformatter.h>

namespace pipfield {
namespace {

icu::Locale icuLocale(const QLocale& locale) {
    return icu::Locale(locale.name().toLatin1().constData());
}

} // namespace

QString shortNumber(std::int64_t value, const QLocale& locale) {
    namespace number = icu::number;
    UErrorCode status = U_ZERO_ERROR;
    number::LocalizedNumberFormatter formatter = value >= 10000
                                                     ? number::NumberFormatter::withLocale(icuLocale(locale))
                                                           .notation(number::Notation::compactShort())
                                                           .precision(number::Precision::minMaxFraction(0, 1))
                                                     : number::NumberFormatter::withLocale(icuLocale(locale));
    const icu::UnicodeString text = formatter.formatInt(value, status).toString(status);
    if (U_FAILURE(status)) {
        // ICU without data for the locale: digits are still better than nothing.
        return locale.toString(static_cast<qlonglong>(value));
    }
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace pipfield
