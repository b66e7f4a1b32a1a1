#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

namespace pipfield {

/// The handful of text sizes the window and the card use, each derived from the application font.
enum class TextStyle { body, title, title2, title3, headline, subheadline, callout, caption, caption2 };

/// How strongly a text or fill stands out from the background.
enum class Tone { primary, secondary, tertiary, quaternary };

/// The style's font derived from `base` (the application font by default).
QFont styledFont(TextStyle style, QFont base = QFont());
QFont styledFont(TextStyle style, QFont::Weight weight, QFont base = QFont());
/// The palette's text colour faded to the tone.
QColor toneColor(const QPalette& palette, Tone tone);

/// The accent green of the game: gauges, capsule buttons, selections.
QColor leafColor();
/// The dark lemon of gear stars, readable on light and dark backgrounds.
QColor lemonTextColor();

} // namespace pipfield
