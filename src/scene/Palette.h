#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace pipfield::Palette {

/// Colour themes of the orchard, in the order the style tab lists them.
enum class Theme { sunny, blossom, sunset, moon };
inline constexpr std::array<Theme, 4> allThemes = {Theme::sunny, Theme::blossom, Theme::sunset, Theme::moon};

QString rawValue(Theme theme);
std::optional<Theme> themeFromRaw(const QString& raw);
/// The theme a setting names; text that names none (written by hand) gets the default theme.
Theme themeNamed(const QString& raw);
/// The theme's display name through the translation catalogue.
QString name(Theme theme);

/// Times of day that tint the orchard.
enum class Period { dawn, day, dusk, night };
/// 5 to 7 dawn, 8 to 16 day, 17 to 19 dusk, any other value (also out of range) night.
Period periodForHour(int hour);

/// Hue in degrees of each dye index; index 0 keeps the sprite's own colours.
inline constexpr std::array<std::optional<double>, 7> dyeHues = {std::nullopt, 355.0, 25.0, 125.0, 200.0, 275.0, 325.0};
/// The hue of a dye index, none for 0 and for anything outside 0 to 6 (a hand-edited save may hold
/// any 64-bit number).
std::optional<double> dyeHue(std::int64_t dye);
QString dyeName(std::int64_t dye);

/// Sprite base name to the 24-bit colours that a dye may recolour in its images.
using DyeColors = QHash<QString, QSet<quint32>>;
/// Reads the dye table; anything malformed yields an empty table or skips the entry.
DyeColors parseDyeColors(const QByteArray& json);
/// The bundled dye table, read on first use and kept for the life of the process.
const DyeColors& dyeColors();

} // namespace pipfield::Palette
