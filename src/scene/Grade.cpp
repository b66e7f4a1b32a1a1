#include "scene/Grade.h"

#include <QColor>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace pipfield {

namespace {

Grade themeRow(Palette::Theme theme) {
    switch (theme) {
    case Palette::Theme::sunny:
        return {};
    case Palette::Theme::blossom:
        return {1.02, 0.97, 1.02, 10, 0, 6};
    case Palette::Theme::sunset:
        return {1.05, 0.95, 0.86, 4, 0, 0};
    case Palette::Theme::moon:
        return {0.86, 0.9, 1.04, 0, 0, 8};
    }
    return {};
}

Grade periodRow(Palette::Period period) {
    switch (period) {
    case Palette::Period::dawn:
        return {1.04, 0.97, 0.93, 6, 0, 0};
    case Palette::Period::day:
        return {};
    case Palette::Period::dusk:
        return {1.06, 0.9, 0.8, 8, 0, 0};
    case Palette::Period::night:
        return {0.6, 0.68, 0.92, 0, 4, 16};
    }
    return {};
}

int channel(double value) {
    return static_cast<int>(std::clamp(std::round(value), 0.0, 255.0));
}

} // namespace

QColor Grade::apply(QColor color) const {
    return QColor(channel(mulR * color.red() + addR), channel(mulG * color.green() + addG),
                  channel(mulB * color.blue() + addB));
}

Grade Grade::rule(Palette::Theme theme, int hour, bool timeOfDayLight, bool dark) {
    const Grade t = themeRow(theme);
    const Palette::Period period = Palette::periodForHour(hour);
    Grade g = t;
    if (timeOfDayLight) {
        const Grade p = periodRow(period);
        // The theme's offsets pass through the period's multipliers; no theme sets a green offset.
        g = {t.mulR * p.mulR,          t.mulG * p.mulG, t.mulB * p.mulB,
             t.addR * p.mulR + p.addR, p.addG,          t.addB * p.mulB + p.addB};
    }
    // A dark desktop dims the daylight scene; dawn, dusk and night already are dim.
    if (dark && !(timeOfDayLight && period != Palette::Period::day)) {
        g.mulR *= 0.94;
        g.mulG *= 0.94;
        g.addR *= 0.94;
        g.addG *= 0.94;
        g.mulB *= 0.96;
        g.addB *= 0.96;
    }
    return g;
}

bool looksDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

} // namespace pipfield
