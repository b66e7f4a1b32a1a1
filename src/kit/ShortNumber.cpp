#include "kit/ShortNumber.h"

#include <unicode/locid.h>
#include <unicode/numberformatter.h>

#include <optional>

namespace pipfield {
namespace {

namespace number = icu::number;

/// The two formatters of one locale, made once: building an ICU formatter costs far more than using it.
struct Formatters {
    QString localeName;
    number::LocalizedNumberFormatter compact;
    number::LocalizedNumberFormatter grouped;
};

const Formatters& formattersFor(const QLocale& locale) {
    static std::optional<Formatters> cached;
    const QString name = locale.name();
    if (!cached || cached->localeName != name) {
        const icu::Locale icuLocale(name.toLatin1().constData());
        const auto base = number::NumberFormatter::withLocale(icuLocale);
        cached.emplace(Formatters{
            name, base.notation(number::Notation::compactShort()).precision(number::Precision::minMaxFraction(0, 1)),
            base});
    }
    return *cached;
}

} // namespace

QString shortNumber(std::int64_t value, const QLocale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const Formatters& formatters = formattersFor(locale);
    const number::LocalizedNumberFormatter& formatter = value >= 10000 ? formatters.compact : formatters.grouped;
    const icu::UnicodeString text = formatter.formatInt(value, status).toString(status);
    if (U_FAILURE(status)) {
        // ICU without data for the locale: digits are still better than nothing.
        return locale.toString(static_cast<qlonglong>(value));
    }
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace pipfield
