#include "scene/OrchardView.h"

#include <limits>

namespace pipfield {

namespace {

std::optional<int> parseInteger(const QString& text) {
    QStringView digits(text);
    bool negative = false;
    if (digits.startsWith(u'+') || digits.startsWith(u'-')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    if (digits.isEmpty())
        return std::nullopt;
    long long value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

int OrchardView::hour(const QString& hourOverride, const QDateTime& now) {
    if (const auto h = parseInteger(hourOverride))
        return *h;
    return now.toLocalTime().time().hour();
}

Palette::Period OrchardView::period(bool timeOfDayLight, int hour) {
    return timeOfDayLight ? Palette::periodForHour(hour) : Palette::Period::day;
}

} // namespace pipfield
