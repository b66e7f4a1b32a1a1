#include "game/Game.h"

#include "game/Defaults.h"
#include "game/LocalTime.h"
#include "game/Looks.h"
#include "game/Notifier.h"
#include "game/SaveStore.h"
#include "game/Texts.h"
#include "game/WeekHistory.h"
#include "model/Saturating.h"
#include "model/SaveFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPointer>

#include <algorithm>

namespace pipfield {

namespace {

// The crate counts as almost full, and the tray shows the fuller lemon, from this share of its capacity.
constexpr double kAlmostFullShare = 0.8;

double referenceSeconds(Instant t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count() - kReferenceDateUnixSeconds;
}

Instant instantFromReferenceSeconds(double seconds) {
    // A hand-edited file may hold any finite number. Instants beyond the clock's range are held at its
    // ends: the present lies within that range, so the catch-up still sees the right sign and a span
    // far longer than its limit.
    return addSeconds(Instant{}, seconds + kReferenceDateUnixSeconds);
}

bool due(const std::optional<Instant>& last, Instant now, double interval) {
    // A clock set back behind the last run would otherwise hold the cadence off until it caught up.
    return !last || secondsBetween(*last, now) > interval || now < *last;
}

Orchard makeLateDemo() {
    Orchard o;
    o.trees = {
        {TreeKind::pink, 10800, 0, 9},   {TreeKind::golden, 21600, 0, 5},   {TreeKind::grapefruit, 7200, 80, 0},
        {TreeKind::buddha, 18000, 0, 6}, {TreeKind::hallabong, 4320, 0, 0}, {TreeKind::blood, 3600, 0, 4},
        {TreeKind::kumquat, 600, 50, 0}, {TreeKind::calamansi, 180, 0, 0},  {TreeKind::yuja, 5400, 0, 7},
        {TreeKind::eureka, 300, 0, 6},
    };
    o.workers.set(WorkerRole::planter, 12);
    o.workers.set(WorkerRole::caretaker, 16);
    o.workers.set(WorkerRole::harvester, 20);
    o.crate.set(TreeKind::lime, 30);
    o.crate.set(TreeKind::yuja, 20);
    o.coins = 1234567;
    for (std::size_t i = 0; i < 10; ++i) {
        o.unlocked.insert(allTreeKinds[i]);
        o.everPlanted.insert(allTreeKinds[i]);
    }
    o.totals = {900, 800, 45000, 12};
    o.crateLevel = 6;
    o.harvestBudget = 0;
    o.extraWorkers = {WorkerRole::planter, WorkerRole::caretaker, WorkerRole::harvester};
    o.looks = {
        {"harvester-0", {0, 0, ""}},
        {"harvester-1", {1, 5, ""}},
        {"caretaker-1", {1, 6, ""}},
        {"planter-1", {1, 4, ""}},
    };
    const std::pair<TreeKind, std::int64_t> picked[] = {
        {TreeKind::eureka, 420},   {TreeKind::kumquat, 210},   {TreeKind::meyer, 160},
        {TreeKind::calamansi, 90}, {TreeKind::lime, 70},       {TreeKind::blood, 40},
        {TreeKind::yuja, 33},      {TreeKind::grapefruit, 12}, {TreeKind::pink, 9},
    };
    for (const auto& [kind, count] : picked) {
        o.harvestedByKind.set(kind, count);
    }
    return o;
}

} // namespace

const Orchard& Game::lateDemo() {
    static const Orchard demo = makeLateDemo();
    return demo;
}

Game::Game(Defaults& defaults, const Clock& clock, Notifier& notifier, SaveStore& store, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_sceneSettings(defaults), m_clock(clock), m_notifier(notifier),
      m_store(store) {
    const Instant now = m_clock.now();
    // The "season" override is applied by the first tick below.
    m_season = seasonForMonth(localDateTime(now).date().month());
    m_notificationsOn = m_defaults.boolValue(SettingsKey::notificationsOn);
    m_demo = m_defaults.string(SettingsKey::demo) == SettingsValue::lateDemo;

    if (m_demo) {
        m_live = lateDemo();
        m_lastUpdated = now;
        m_weekStarts = {{weekKey(now).toStdString(), Totals{120, 100, 9000, 9}}};
    } else if (std::optional<Save> saved = m_store.load(now)) {
        m_live = std::move(saved->orchard);
        m_lastUpdated = instantFromReferenceSeconds(saved->lastUpdated);
        m_weekStarts = std::move(saved->weekStarts);
    } else {
        m_live = Orchard::starter();
        m_lastUpdated = now;
    }
    m_orchard = m_live;

    // One shot at a time, each planned from the last one's due time: a tick taken early in a wake-up
    // shared with the strip does not bring the ones after it forward.
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Game::tickOnPace);
    const auto pace = [this] {
        m_tickEvery = m_sceneSettings.powerSaving() ? 2000 : 1000;
        if (m_timer.isActive()) {
            planTick(QDeadlineTimer(m_tickEvery));
        }
    };
    pace();
    connect(&m_sceneSettings, &SceneSettings::powerSavingChanged, this, pace);

    tick(now);
}

Game::~Game() = default;

void Game::start() {
    planTick(QDeadlineTimer(m_tickEvery));
    m_notifier.requestAuthorization();
    scheduleCrateNotification();
    // Whether a service can show them matters only while notifications are wanted; switching them on
    // asks, and so does the settings tab each time it is shown.
    if (m_notificationsOn) {
        refreshNotificationStatus();
    }
}

void Game::planTick(QDeadlineTimer due) {
    m_nextTick = due;
    // A tick taken early leaves more than a whole interval to the next.
    m_timer.start(static_cast<int>(std::clamp<qint64>(due.remainingTime(), 0, 2 * qint64{m_tickEvery})));
}

void Game::tickOnPace() {
    tick(m_clock.now());
    QDeadlineTimer next = QDeadlineTimer::addNSecs(m_nextTick, qint64{m_tickEvery} * 1000000);
    // Behind by more than a tick (the machine slept, or the program stalled): a fresh pace from now
    // rather than a burst of ticks to make up.
    if (next.hasExpired()) {
        next = QDeadlineTimer(m_tickEvery);
    }
    planTick(next);
}

void Game::shareWakeUp(int slackMs) {
    if (m_timer.isActive() && m_nextTick.remainingTime() <= slackMs) {
        tickOnPace();
    }
}

qint64 Game::msToNextTick() const {
    return m_timer.isActive() ? std::max<qint64>(0, m_nextTick.remainingTime()) : -1;
}

Season Game::seasonAt(Instant now) const {
    if (const std::optional<Season> forced = m_sceneSettings.seasonOverride()) {
        return *forced;
    }
    return seasonForMonth(localDateTime(now).date().month());
}

void Game::tick(Instant now) {
    const Season s = seasonAt(now);
    if (s != m_season) {
        m_season = s;
        Q_EMIT seasonChanged();
    }

    const double elapsed = secondsBetween(m_lastUpdated, now);
    if (elapsed >= 0) {
        catchUp(std::min(elapsed, kCatchUpLimitSeconds), s);
    }
    if (now != m_lastUpdated) {
        m_lastUpdated = now;
        Q_EMIT lastUpdatedChanged();
    }

    publish(Publish::whenLooksChange);

    // Taken after the catch-up: what happened before the first tick of a week counts toward no week.
    const std::string key = weekKey(now).toStdString();
    if (!m_weekStarts.contains(key)) {
        m_weekStarts[key] = m_live.totals;
        const std::string oldest = weekKey(addSeconds(now, -kWeekHistorySeconds)).toStdString();
        std::erase_if(m_weekStarts, [&oldest](const auto& entry) { return entry.first < oldest; });
        Q_EMIT weekStartsChanged();
    }

    if (due(m_lastSaved, now, kSaveIntervalSeconds)) {
        saveAt(now);
    }
    if (due(m_lastScheduled, now, kPlanIntervalSeconds)) {
        scheduleAt(now);
    }
    Q_EMIT ticked();
}

void Game::catchUp(double seconds, Season season) {
    if (seconds < kWelcomeBackSeconds || m_demo) {
        m_live.advance(seconds, season);
        return;
    }
    const std::int64_t harvestedBefore = m_live.totals.harvested;
    const std::optional<double> filled = m_live.advanceWatchingCrate(seconds, season);
    m_welcomeBack = WelcomeBack{saturatingSub(m_live.totals.harvested, harvestedBefore), m_live.crateCount(), filled};
    Q_EMIT welcomeBackChanged();
    if (m_notificationsOn) {
        m_notifier.show(welcomeBackTitle(), pipfield::welcomeBackText(*m_welcomeBack));
    }
}

QString Game::welcomeBackText() const {
    return m_welcomeBack ? pipfield::welcomeBackText(*m_welcomeBack) : QString();
}

void Game::publish(Publish when) {
    if (when == Publish::anyChange || !(Looks(m_live) == Looks(m_orchard))) {
        // An equal value notifies nobody, whenever published.
        if (!(m_orchard == m_live)) {
            m_orchard = m_live;
            Q_EMIT orchardChanged();
        }
    }
    const bool almost =
        static_cast<double>(m_live.crateCapacity()) * kAlmostFullShare <= static_cast<double>(m_live.crateCount());
    if (almost != m_crateAlmostFull) {
        m_crateAlmostFull = almost;
        Q_EMIT crateAlmostFullChanged();
    }
}

void Game::save() {
    saveAt(m_clock.now());
}

void Game::saveAt(Instant now) {
    if (m_demo) {
        return;
    }
    const Save record{m_live, referenceSeconds(m_lastUpdated), m_weekStarts};
    if (m_store.write(record) == SaveStore::WriteResult::unencodable) {
        // Try again on the next tick: the state may change into one that can be written.
        return;
    }
    // Also after a failed write, so that a failing disk is retried at the save cadence, not every tick.
    m_lastSaved = now;
}

void Game::scheduleCrateNotification() {
    scheduleAt(m_clock.now());
}

void Game::scheduleAt(Instant now) {
    m_lastScheduled = now;
    const QString identifier = QString::fromLatin1(kCrateFullIdentifier);
    m_notifier.remove(identifier);
    if (!m_notificationsOn) {
        return;
    }
    if (m_live.crateFull()) {
        return;
    }
    const std::optional<double> t = m_live.timeUntilCrateFull(m_season);
    if (!t || *t <= 0) {
        return;
    }
    m_notifier.add({identifier, Texts::ui("창고가 레몬으로 가득 찼어요"),
                    Texts::ui("팔러 와 주세요. 일꾼들이 기다리고 있어요."), *t});
}

void Game::refreshNotificationStatus() {
    QPointer<Game> self(this);
    m_notifier.queryDenied([self](bool denied) {
        if (self && denied != self->m_notificationsDenied) {
            self->m_notificationsDenied = denied;
            Q_EMIT self->notificationsDeniedChanged();
        }
    });
}

void Game::setNotificationsOn(bool on) {
    const bool changed = on != m_notificationsOn;
    m_notificationsOn = on;
    if (changed) {
        Q_EMIT notificationsOnChanged();
    }
    m_defaults.setValue(SettingsKey::notificationsOn, on);
    scheduleCrateNotification();
    if (changed && on) {
        refreshNotificationStatus();
    }
}

void Game::commit() {
    publish(Publish::anyChange);
    save();
    scheduleCrateNotification();
}

bool Game::buy(const Purchase& purchase) {
    tick(m_clock.now());
    if (!m_live.buy(purchase)) {
        return false;
    }
    commit();
    return true;
}

bool Game::hireSecondWorker(WorkerRole role, const WorkerLook& look) {
    if (!buy(Purchase::secondWorker(role))) {
        return false;
    }
    setLook(look, role, 1);
    return true;
}

void Game::setLook(const WorkerLook& look, WorkerRole role, std::int64_t slot) {
    m_live.setLook(look, role, slot);
    publish(Publish::anyChange);
    save();
}

std::int64_t Game::harvest(std::int64_t tree) {
    const std::int64_t picked = m_live.harvest(tree);
    if (picked >= 1) {
        commit();
    }
    return picked;
}

std::int64_t Game::sellAll() {
    tick(m_clock.now());
    const std::int64_t value = m_live.crateValue(m_season);
    if (m_live.crateCount() > 0 && m_welcomeBack) {
        m_welcomeBack.reset();
        Q_EMIT welcomeBackChanged();
    }
    // Counters and coins read from a hand-edited file may lie anywhere in the 64-bit range.
    m_live.totals.sold = saturatingAdd(m_live.totals.sold, m_live.crateCount());
    m_live.crate = {};
    m_live.coins = saturatingAdd(m_live.coins, value);
    m_live.totals.earned = saturatingAdd(m_live.totals.earned, value);
    if (value >= 1) {
        if (value != m_lastSale) {
            m_lastSale = value;
            Q_EMIT lastSaleChanged();
        }
        ++m_saleCount;
        Q_EMIT saleCountChanged();
    }
    commit();
    return value;
}

QString Game::weekKey(Instant t) {
    return pipfield::weekKey(localDateTime(t).date());
}

Instant Game::weekStartOf(Instant t) {
    const QDate date = localDateTime(t).date();
    // Not QTime(0, 0): where the clocks jump forward at midnight, a Monday has no 00:00 and begins at
    // the end of the gap.
    const QDateTime monday = date.addDays(1 - date.dayOfWeek()).startOfDay();
    if (!monday.isValid()) {
        return t;
    }
    return Instant{} + std::chrono::milliseconds(monday.toMSecsSinceEpoch());
}

std::vector<WeekRecord> Game::recentWeeks(int count) const {
    return pipfield::recentWeeks(m_weekStarts, m_orchard.totals, m_clock.now(), count);
}

Totals Game::thisWeek() const {
    const Totals& now = m_orchard.totals;
    const auto it = m_weekStarts.find(weekKey(m_clock.now()).toStdString());
    return it == m_weekStarts.end() ? Totals{} : grownBetween(it->second, now);
}

} // namespace pipfield
