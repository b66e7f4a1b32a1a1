#pragma once

#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Notifier.h"
#include "game/ProcessLauncher.h"
#include "game/SaveStore.h"
#include "model/SaveFile.h"
#include "support/MessageLog.h"
#include "support/PlainSteps.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pipfield::test {

/// Every game test runs in Seoul time, which has no daylight saving. Set during static
/// initialisation, before any test file computes its local instants.
inline const bool kSeoulTime = [] {
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
    return true;
}();

/// A wall-clock instant in the test's local time zone.
inline Instant localInstant(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return Instant{} + std::chrono::milliseconds(
                           QDateTime(QDate(year, month, day), QTime(hour, minute, second)).toMSecsSinceEpoch());
}

/// A clock that stands still until a test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Instant start) : m_now(start) {}
    Instant now() const override { return m_now; }
    void set(Instant t) { m_now = t; }
    void advance(double seconds) { m_now = addSeconds(m_now, seconds); }

private:
    Instant m_now;
};

/// Records what the game asks of the notification service and keeps the pending requests as the
/// service would.
class FakeNotifier final : public Notifier {
public:
    struct Call {
        enum class Kind { add, show, remove, authorization, query, handOff } kind;
        NotificationRequest request;
    };

    void add(const NotificationRequest& request) override {
        calls.push_back({Call::Kind::add, request});
        std::erase_if(pending, [&](const auto& r) { return r.identifier == request.identifier; });
        pending.push_back(request);
    }
    void show(const QString& title, const QString& body) override {
        calls.push_back({Call::Kind::show, {{}, title, body, 0}});
    }
    void remove(const QString& identifier) override {
        calls.push_back({Call::Kind::remove, {identifier, {}, {}, 0}});
        std::erase_if(pending, [&](const auto& r) { return r.identifier == identifier; });
    }
    void requestAuthorization() override { calls.push_back({Call::Kind::authorization, {}}); }
    void queryDenied(std::function<void(bool)> answer) override {
        calls.push_back({Call::Kind::query, {}});
        answers.push_back(std::move(answer));
    }
    void handOff() override { calls.push_back({Call::Kind::handOff, {}}); }

    std::size_t count(Call::Kind kind) const {
        return static_cast<std::size_t>(
            std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.kind == kind; }));
    }
    std::optional<NotificationRequest> only() const {
        return pending.size() == 1 ? std::optional(pending.front()) : std::nullopt;
    }

    std::vector<Call> calls;
    std::vector<NotificationRequest> pending;
    /// Unanswered status queries; a test answers them as the service would, later.
    std::vector<std::function<void(bool)>> answers;
};

/// Records the commands instead of running them.
class FakeLauncher final : public ProcessLauncher {
public:
    struct Command {
        QString program;
        QStringList arguments;
    };

    int run(const QString& program, const QStringList& arguments) override {
        ran.push_back({program, arguments});
        return program == QLatin1String("systemd-run") ? systemdRunExit : 0;
    }
    void runInBackground(const QString& program, const QStringList& arguments) override {
        background.push_back({program, arguments});
    }
    std::optional<qint64> startDetached(const QString& program, const QStringList& arguments) override {
        detached.push_back({program, arguments});
        return detachedPid;
    }
    void stop(qint64 pid, const QString& marker) override { stopped.emplace_back(pid, marker); }

    int systemdRunExit = 0;
    std::optional<qint64> detachedPid = 4242;
    std::vector<Command> ran;
    std::vector<Command> background;
    std::vector<Command> detached;
    std::vector<std::pair<qint64, QString>> stopped;
};

/// Noon on an autumn day, when no kind sells at a seasonal price.
inline const Instant kNoon = localInstant(2026, 10, 14, 12);
/// Noon on a summer day.
inline const Instant kSummerNoon = localInstant(2026, 7, 15, 12);

inline double referenceSeconds(Instant t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count() - kReferenceDateUnixSeconds;
}

inline std::string readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll().toStdString();
}

inline void writeFile(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::optional<Save> readSave(const QString& path) {
    return decodeSave(readFile(path)).save;
}

/// One game's surroundings in a temporary folder: settings file, save file (elsewhere when given),
/// clock and notifier.
struct GameWorld {
    explicit GameWorld(Instant start, const QVariantMap& overrides = {}, const QString& savePath = {})
        : defaults(dir.filePath(QStringLiteral("config/Pipfield/Pipfield.conf")), overrides), clock(start),
          store(savePath.isEmpty() ? dir.filePath(QStringLiteral("data/Pipfield/orchard.json")) : savePath) {
        defaults.registerDefaults(Defaults::standardDefaults());
    }

    void seed(const Orchard& orchard, Instant lastUpdated, Game::WeekStarts weeks = {}) {
        seed(Save{orchard, referenceSeconds(lastUpdated), std::move(weeks)});
    }
    void seed(const Save& save) { writeFile(store.path(), *encodeSave(save)); }
    std::unique_ptr<Game> launch() { return std::make_unique<Game>(defaults, clock, notifier, store); }
    /// Seeds the save with `orchard` last updated at `lastUpdated` and launches a game on it.
    std::unique_ptr<Game> launch(const Orchard& orchard, Instant lastUpdated, Game::WeekStarts weeks = {}) {
        seed(orchard, lastUpdated, std::move(weeks));
        return launch();
    }
    std::optional<Save> saved() const { return readSave(store.path()); }

    QTemporaryDir dir;
    Defaults defaults;
    FakeClock clock;
    FakeNotifier notifier;
    SaveStore store;
};

} // namespace pipfield::test
