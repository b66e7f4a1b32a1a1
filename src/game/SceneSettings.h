#pragma once

#include "model/Catalog.h"

#include <QObject>
#include <QString>

#include <optional>

namespace pipfield {

class Defaults;

/// The settings of the orchard strip's scene, owned here: the style tab writes through this object,
/// the scene and the game react to its signals. The overrides are read once, at start, from the
/// settings (where the command line puts them for one run).
class SceneSettings final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString theme READ theme WRITE setTheme NOTIFY themeChanged)
    Q_PROPERTY(bool timeOfDayLight READ timeOfDayLight WRITE setTimeOfDayLight NOTIFY timeOfDayLightChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)
    Q_PROPERTY(bool followPowerSaver READ followPowerSaver WRITE setFollowPowerSaver NOTIFY followPowerSaverChanged)
    Q_PROPERTY(bool powerSaving READ powerSaving NOTIFY powerSavingChanged)
    Q_PROPERTY(std::optional<int> hourOverride READ hourOverride WRITE setHourOverride NOTIFY hourOverrideChanged)
    Q_PROPERTY(std::optional<pipfield::Season> seasonOverride READ seasonOverride WRITE setSeasonOverride NOTIFY
                   seasonOverrideChanged)

public:
    explicit SceneSettings(Defaults& defaults, QObject* parent = nullptr);

    /// The raw name of the colour theme; any text stored by hand is passed on as it is.
    QString theme() const { return m_theme; }
    void setTheme(const QString& theme);
    bool timeOfDayLight() const { return m_timeOfDayLight; }
    void setTimeOfDayLight(bool on);
    /// The player's choice when there is one, else the desktop's animation switch.
    bool reduceMotion() const { return m_still || m_chosenReduceMotion.value_or(m_desktopReducesMotion); }
    void setDesktopReducesMotion(bool reduce);
    /// The player's choice whether the strip follows the desktop's power saver.
    bool followPowerSaver() const { return m_followPowerSaver; }
    void setFollowPowerSaver(bool on);
    /// Whether the desktop's power-saver profile is on.
    void setDesktopPowerSaver(bool on);
    /// The strip costs less now: no effects, longer hops, slower idle animations.
    bool powerSaving() const { return m_followPowerSaver && m_desktopPowerSaver; }
    /// The "hour" override when it is a decimal integer (optional sign, not clamped).
    std::optional<int> hourOverride() const { return m_hourOverride; }
    /// For this run only: overrides are never stored.
    void setHourOverride(std::optional<int> hour);
    std::optional<Season> seasonOverride() const { return m_seasonOverride; }
    void setSeasonOverride(std::optional<Season> season);
    /// Effects off from now on, whatever the player or the desktop says: for still pictures of the scene.
    void holdStill();

    /// Text as the "hour" override reads it: a decimal integer with an optional sign, else nothing.
    static std::optional<int> parseHour(const QString& text);

Q_SIGNALS:
    void themeChanged(const QString& theme);
    void timeOfDayLightChanged(bool on);
    void reduceMotionChanged(bool reduce);
    void followPowerSaverChanged(bool on);
    void powerSavingChanged(bool saving);
    void hourOverrideChanged(std::optional<int> hour);
    void seasonOverrideChanged(std::optional<pipfield::Season> season);

private:
    Defaults& m_defaults;
    QString m_theme;
    bool m_timeOfDayLight;
    std::optional<bool> m_chosenReduceMotion;
    bool m_desktopReducesMotion = false;
    bool m_still = false;
    bool m_followPowerSaver;
    bool m_desktopPowerSaver = false;
    std::optional<int> m_hourOverride;
    std::optional<Season> m_seasonOverride;
};

} // namespace pipfield
