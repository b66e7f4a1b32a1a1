#include "kit/TextStyle.h"

#include <algorithm>

namespace pipfield {
namespace {

struct StyleSpec {
    double scale;
    QFont::Weight weight;
};

StyleSpec specOf(TextStyle style) {
    switch (style) {
    case TextStyle::body:
        return {1.0, QFont::Normal};
    case TextStyle::title:
        return {1.6, QFont::Normal};
    case TextStyle::title2:
        return {1.35, QFont::Bold};
    case TextStyle::title3:
        return {1.2, QFont::Normal};
    case TextStyle::headline:
        return {1.0, QFont::DemiBold};
    case TextStyle::subheadline:
        return {0.93, QFont::Normal};
    case TextStyle::callout:
        return {0.95, QFont::Normal};
    case TextStyle::caption:
        return {0.85, QFont::Normal};
    case TextStyle::caption2:
        return {0.78, QFont::Normal};
    }
    return {1.0, QFont::Normal};
}

} // namespace

QFont styledFont(TextStyle style, QFont base) {
    return styledFont(style, specOf(style).weight, std::move(base));
}

QFont styledFont(TextStyle style, QFont::Weight weight, QFont base) {
    const StyleSpec spec = specOf(style);
    if (base.pointSizeF() > 0) {
        base.setPointSizeF(base.pointSizeF() * spec.scale);
    } else {
        base.setPixelSize(std::max(1, qRound(base.pixelSize() * spec.scale)));
    }
    base.setWeight(weight);
    return base;
}

QColor toneColor(const QPalette& palette, Tone tone) {
    QColor c = palette.color(QPalette::WindowText);
    switch (tone) {
    case Tone::primary:
        break;
    case Tone::secondary:
        c.setAlphaF(0.62f);
        break;
    case Tone::tertiary:
        c.setAlphaF(0.32f);
        break;
    case Tone::quaternary:
        c.setAlphaF(0.12f);
        break;
    }
    return c;
}

QColor leafColor() {
    // Dark enough that white headline text on it reads at 4.9:1, above the 4.5:1 normal-size text needs.
    static const QColor leaf(0x2f, 0x80, 0x34);
    return leaf;
}

QColor lemonTextColor() {
    static const QColor lemon = QColor::fromRgbF(0.8f, 0.58f, 0.0f, 1.0f);
    return lemon;
}

} // namespace pipfield
