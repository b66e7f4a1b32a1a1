#include "game/SceneSettings.h"

#include "game/Defaults.h"

#include <limits>

namespace pipfield {

namespace {

std::optional<bool> chosen(const Defaults& defaults, const QString& key) {
    const QVariant value = defaults.value(key);
    return value.isValid() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

} // namespace

SceneSettings::SceneSettings(Defaults& defaults, QObject* parent)
    : QObject(parent), m_defaults(defaults),
      m_theme(defaults.string(SettingsKey::theme).value_or(SettingsValue::defaultTheme)),
      m_timeOfDayLight(defaults.boolValue(SettingsKey::timeOfDayLight)),
      m_chosenReduceMotion(chosen(defaults, SettingsKey::reduceMotion)),
      m_followPowerSaver(defaults.boolValue(SettingsKey::followPowerSaver)),
      m_hourOverride(parseHour(defaults.string(SettingsKey::hour).value_or(QString()))) {
    if (const std::optional<QString> season = defaults.string(SettingsKey::season)) {
        m_seasonOverride = seasonFromRaw(season->toStdString());
    }
}

void SceneSettings::setTheme(const QString& theme) {
    if (theme == m_theme) {
        return;
    }
    m_theme = theme;
    m_defaults.setValue(SettingsKey::theme, theme);
    Q_EMIT themeChanged(theme);
}

void SceneSettings::setTimeOfDayLight(bool on) {
    if (on == m_timeOfDayLight) {
        return;
    }
    m_timeOfDayLight = on;
    m_defaults.setValue(SettingsKey::timeOfDayLight, on);
    Q_EMIT timeOfDayLightChanged(on);
}

void SceneSettings::setDesktopReducesMotion(bool reduce) {
    const bool before = reduceMotion();
    m_desktopReducesMotion = reduce;
    if (reduceMotion() != before) {
        Q_EMIT reduceMotionChanged(reduceMotion());
    }
}

void SceneSettings::setFollowPowerSaver(bool on) {
    if (on == m_followPowerSaver) {
        return;
    }
    const bool before = powerSaving();
    m_followPowerSaver = on;
    m_defaults.setValue(SettingsKey::followPowerSaver, on);
    Q_EMIT followPowerSaverChanged(on);
    if (powerSaving() != before) {
        Q_EMIT powerSavingChanged(powerSaving());
    }
}

void SceneSettings::setDesktopPowerSaver(bool on) {
    const bool before = powerSaving();
    m_desktopPowerSaver = on;
    if (powerSaving() != before) {
        Q_EMIT powerSavingChanged(powerSaving());
    }
}

void SceneSettings::holdStill() {
    const bool before = reduceMotion();
    m_still = true;
    if (!before) {
        Q_EMIT reduceMotionChanged(true);
    }
}

void SceneSettings::setHourOverride(std::optional<int> hour) {
    if (hour == m_hourOverride) {
        return;
    }
    m_hourOverride = hour;
    Q_EMIT hourOverrideChanged(hour);
}

void SceneSettings::setSeasonOverride(std::optional<Season> season) {
    if (season == m_seasonOverride) {
        return;
    }
    m_seasonOverride = season;
    Q_EMIT seasonOverrideChanged(season);
}

std::optional<int> SceneSettings::parseHour(const QString& text) {
    QStringView digits(text);
    bool negative = false;
    if (digits.startsWith(u'+') || digits.startsWith(u'-')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    long long value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace pipfield
