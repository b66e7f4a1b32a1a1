#pragma once

#include <QString>

namespace pipfield {

/// Every key of the player's settings, named once. The texts are the settings file's keys: changing
/// one forgets what players stored under it.
struct SettingsKey {
    static inline const QString clickThrough = QStringLiteral("clickThrough");
    static inline const QString hideInFullScreen = QStringLiteral("hideInFullScreen");
    static inline const QString stripShown = QStringLiteral("stripShown");
    static inline const QString screenID = QStringLiteral("screenID");
    static inline const QString notificationsOn = QStringLiteral("notificationsOn");
    static inline const QString theme = QStringLiteral("theme");
    static inline const QString timeOfDayLight = QStringLiteral("timeOfDayLight");
    static inline const QString manageTab = QStringLiteral("manageTab");
    static inline const QString hasLaunched = QStringLiteral("hasLaunched");
    /// Set by the player, else the desktop's animation switch decides.
    static inline const QString reduceMotion = QStringLiteral("reduceMotion");
    /// Whether the strip costs less while the desktop's power saver is on.
    static inline const QString followPowerSaver = QStringLiteral("followPowerSaver");

    // Only read, and can be given for one run on the command line.
    static inline const QString showManage = QStringLiteral("showManage");
    static inline const QString appearance = QStringLiteral("appearance");
    static inline const QString demo = QStringLiteral("demo");
    static inline const QString season = QStringLiteral("season");
    static inline const QString hour = QStringLiteral("hour");
};

/// The values of the read-only keys that mean something; any other value is ignored.
struct SettingsValue {
    /// "theme" when the player chose none: the raw name of a scene theme.
    static inline const QString defaultTheme = QStringLiteral("sunny");
    /// "demo": the late-game demo orchard.
    static inline const QString lateDemo = QStringLiteral("late");
    /// "appearance": a forced light or dark look.
    static inline const QString light = QStringLiteral("light");
    static inline const QString dark = QStringLiteral("dark");
};

} // namespace pipfield
