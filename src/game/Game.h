#pragma once

#include "game/Clock.h"
#include "game/SceneSettings.h"
#include "game/WeekHistory.h"
#include "game/WelcomeBack.h"
#include "model/Orchard.h"
#include "model/Purchase.h"
#include "model/Totals.h"
#include "model/WorkerLook.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace pipfield {

class Defaults;
class Notifier;
class SaveStore;

/// The one live game: the working orchard the clock advances, the published copy the views read,
/// the save file, the weekly record and the crate-full notification. Main thread only.
///
/// Every player action is one method here (buy, hireSecondWorker, setLook, harvest, sellAll), so that
/// each ends with the same publish, save and planning as every other.
class Game final : public QObject {
    Q_OBJECT
    Q_PROPERTY(pipfield::Orchard orchard READ orchard NOTIFY orchardChanged)
    Q_PROPERTY(pipfield::Season season READ season NOTIFY seasonChanged)
    Q_PROPERTY(qint64 saleCount READ saleCount NOTIFY saleCountChanged)
    Q_PROPERTY(bool crateAlmostFull READ crateAlmostFull NOTIFY crateAlmostFullChanged)
    Q_PROPERTY(qint64 lastSale READ lastSale NOTIFY lastSaleChanged)
    Q_PROPERTY(bool notificationsDenied READ notificationsDenied NOTIFY notificationsDeniedChanged)
    Q_PROPERTY(bool notificationsOn READ notificationsOn WRITE setNotificationsOn NOTIFY notificationsOnChanged)
    Q_PROPERTY(bool demo READ demo CONSTANT)
    Q_PROPERTY(QString welcomeBackText READ welcomeBackText NOTIFY welcomeBackChanged)

public:
    using WeekStarts = std::map<std::string, Totals>;

    static constexpr const char* kCrateFullIdentifier = "crate-full";
    /// Time the program was closed beyond this is not simulated.
    static constexpr double kCatchUpLimitSeconds = 259200;
    static constexpr double kSaveIntervalSeconds = 30;
    static constexpr double kPlanIntervalSeconds = 600;
    /// Week snapshots older than the week this long ago are dropped.
    static constexpr double kWeekHistorySeconds = 4838400;
    /// A catch-up at least this long is an absence worth telling the player about.
    static constexpr double kWelcomeBackSeconds = 600;

    /// Reads the save file (unless "demo" is "late") and runs the first tick, which catches up, saves
    /// and plans the notification. The clock does not run until start().
    Game(Defaults& defaults, const Clock& clock, Notifier& notifier, SaveStore& store, QObject* parent = nullptr);
    ~Game() override;

    const Orchard& orchard() const { return m_orchard; }
    /// The working copy; it changes every tick and nobody is told.
    const Orchard& live() const { return m_live; }
    Season season() const { return m_season; }
    /// Sales worth at least one coin since launch.
    qint64 saleCount() const { return m_saleCount; }
    bool crateAlmostFull() const { return m_crateAlmostFull; }
    qint64 lastSale() const { return m_lastSale; }
    bool notificationsDenied() const { return m_notificationsDenied; }
    bool notificationsOn() const { return m_notificationsOn; }
    /// Stored in the settings and re-plans the notification even when the value is the same.
    void setNotificationsOn(bool on);
    Instant lastUpdated() const { return m_lastUpdated; }
    const WeekStarts& weekStarts() const { return m_weekStarts; }
    bool demo() const { return m_demo; }
    /// The strip scene's settings, and the season override the game itself follows.
    SceneSettings& sceneSettings() { return m_sceneSettings; }
    bool running() const { return m_timer.isActive(); }
    /// Milliseconds between ticks: every second, every other while the desktop saves power. The
    /// orchard grows by the clock, so a slower pace costs nothing but freshness.
    int tickInterval() const { return m_tickEvery; }
    /// Milliseconds until the next tick is due; -1 while the clock is not running.
    qint64 msToNextTick() const;
    /// What the last long catch-up brought, kept until the next sale; nothing in demo mode.
    const std::optional<WelcomeBack>& welcomeBack() const { return m_welcomeBack; }
    /// Its sentence, or empty.
    QString welcomeBackText() const;

    /// Starts the one-second clock, asks for notification permission and plans the notification.
    void start();
    /// Advances the game to `now`.
    void tick(Instant now);
    /// The program is awake anyway (the strip paints): a tick due within `slackMs` is taken now,
    /// sharing the wake-up, and the ticks after it keep their pace.
    void shareWakeUp(int slackMs);
    void save();
    void scheduleCrateNotification();
    void refreshNotificationStatus();

    /// Makes the purchase at the present moment; false when it is unavailable or unaffordable.
    bool buy(const Purchase& purchase);
    /// Buys the second worker of the role and gives it the chosen look.
    bool hireSecondWorker(WorkerRole role, const WorkerLook& look);
    void setLook(const WorkerLook& look, WorkerRole role, std::int64_t slot);
    /// Picks a tree by hand; the number of fruit picked.
    std::int64_t harvest(std::int64_t tree);
    /// Sells the whole crate; the coins earned.
    std::int64_t sellAll();

    /// The ISO 8601 week of `t` in the local time zone, as "YYYY-Www".
    static QString weekKey(Instant t);
    /// Monday 00:00 local time of the week containing `t`.
    static Instant weekStartOf(Instant t);
    Instant weekStart() const { return weekStartOf(m_clock.now()); }
    /// This week's counters, from the published orchard.
    Totals thisWeek() const;
    /// The last `count` weeks up to this one, from the weekly snapshots and the published orchard.
    std::vector<WeekRecord> recentWeeks(int count) const;

    /// The orchard of demo mode.
    static const Orchard& lateDemo();

Q_SIGNALS:
    void orchardChanged();
    void seasonChanged();
    void saleCountChanged();
    void crateAlmostFullChanged();
    void lastSaleChanged();
    void notificationsDeniedChanged();
    void notificationsOnChanged();
    void lastUpdatedChanged();
    void weekStartsChanged();
    void welcomeBackChanged();
    /// A tick is over: the orchard of that instant is published. Whoever shows the game looks again
    /// now, rather than on a clock of its own that would wake the program a second time.
    void ticked();

private:
    // Ticks publish only what changes the picture; a purchase or a new look publishes whatever changed.
    enum class Publish { whenLooksChange, anyChange };
    void publish(Publish when);
    Season seasonAt(Instant now) const;
    void planTick(QDeadlineTimer due);
    void tickOnPace();
    void saveAt(Instant now);
    void scheduleAt(Instant now);
    void commit();
    void catchUp(double seconds, Season season);

    Defaults& m_defaults;
    SceneSettings m_sceneSettings;
    const Clock& m_clock;
    Notifier& m_notifier;
    SaveStore& m_store;

    Orchard m_orchard;
    Orchard m_live;
    Season m_season = Season::spring;
    qint64 m_saleCount = 0;
    bool m_crateAlmostFull = false;
    qint64 m_lastSale = 0;
    bool m_notificationsDenied = false;
    bool m_notificationsOn = true;
    Instant m_lastUpdated{};
    WeekStarts m_weekStarts;
    QTimer m_timer;
    int m_tickEvery = 1000;
    QDeadlineTimer m_nextTick;
    // Nothing means the distant past.
    std::optional<Instant> m_lastSaved;
    std::optional<Instant> m_lastScheduled;
    bool m_demo = false;
    std::optional<WelcomeBack> m_welcomeBack;
};

} // namespace pipfield
