#include "NumberMutator.h"
#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Notifier.h"
#include "game/SaveStore.h"
#include "model/Saturating.h"
#include "model/SaveFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

// Any bytes as the save a game starts from, then a run through everything a player can do.
namespace {

using namespace pipfield;

class FixedClock final : public Clock {
public:
    Instant now() const override { return m_now; }
    Instant m_now;
};

// Keeps nothing; a planned delay must be a real forecast.
class CheckingNotifier final : public Notifier {
public:
    void add(const NotificationRequest& request) override {
        if (!(request.delaySeconds > 0 && request.delaySeconds <= 172800)) {
            std::abort();
        }
    }
    void show(const QString&, const QString&) override {}
    void remove(const QString&) override {}
    void requestAuthorization() override {}
    void queryDenied(std::function<void(bool)> answer) override { answer(false); }
    void handOff() override {}
};

struct World {
    // In memory where there is such a folder: every save is written and synced to disk.
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/pipfield-fuzz-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/pipfield-fuzz-XXXXXX")};
    std::unique_ptr<Defaults> defaults;
    FixedClock clock;
    CheckingNotifier notifier;
};

World* world = nullptr;

// An hour after the seed files' lastUpdated.
const Instant kStart = addSeconds(Instant{}, kReferenceDateUnixSeconds + 786801600.5 + 3600);

// Wednesday noon of the first week the save has a record of, so that the week's record is read against
// the file's own snapshot; otherwise kStart.
Instant startFor(std::string_view document) {
    const SaveDecoding decoded = decodeSave(document);
    if (!decoded.save || decoded.save->weekStarts.empty()) {
        return kStart;
    }
    const QString key = QString::fromStdString(decoded.save->weekStarts.begin()->first);
    bool yearOk = false;
    bool weekOk = false;
    const int year = key.left(4).toInt(&yearOk);
    const int week = key.mid(6).toInt(&weekOk);
    if (key.size() != 8 || key.mid(4, 2) != QStringLiteral("-W") || !yearOk || !weekOk || year < 1 || week < 1 ||
        week > 53) {
        return kStart;
    }
    const QDate fourth(year, 1, 4); // always in week 1
    const QDate wednesday = fourth.addDays(3 - fourth.dayOfWeek() + 7 * (week - 1));
    return Instant{} +
           std::chrono::milliseconds(QDateTime(wednesday, QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch());
}

std::vector<Purchase> everyPurchase(std::int64_t plots) {
    std::vector<Purchase> all = {Purchase::crate(), Purchase::replant(-1, TreeKind::lime),
                                 Purchase::replant(plots, TreeKind::lime)};
    for (TreeKind k : allTreeKinds) {
        all.push_back(Purchase::tree(k));
        all.push_back(Purchase::unlock(k));
        for (std::int64_t i = 0; i < plots; ++i) {
            all.push_back(Purchase::replant(i, k));
        }
    }
    for (WorkerRole r : allWorkerRoles) {
        all.push_back(Purchase::worker(r));
        all.push_back(Purchase::secondWorker(r));
    }
    return all;
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    return pipfield::fuzz::mutateNumbers(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("TZ", "UTC", 1);
    static QCoreApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("pipfield.*=false"));
    world = new World;
    // libFuzzer ends with exit(): the temporary folder goes with the world then.
    std::atexit([] {
        delete world;
        world = nullptr;
    });
    world->defaults = std::make_unique<Defaults>(world->dir.filePath(QStringLiteral("Pipfield.conf")));
    world->defaults->registerDefaults(Defaults::standardDefaults());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QDir folder(world->dir.filePath(QStringLiteral("data")));
    folder.mkpath(QStringLiteral("."));
    const QString path = folder.filePath(QStringLiteral("orchard.json"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    const Instant start = startFor(std::string_view(reinterpret_cast<const char*>(data), size));
    world->clock.m_now = start;
    {
        SaveStore store(path);
        Game game(*world->defaults, world->clock, world->notifier, store);
        (void)game.thisWeek();

        // Far enough for a full catch-up, new weeks and pruning.
        world->clock.m_now = addSeconds(start, 400 * 86400.0);
        game.tick(world->clock.now());

        const std::int64_t before = game.live().coins;
        const std::int64_t value = game.sellAll();
        if (game.live().coins != saturatingAdd(before, value) || game.live().crateCount() != 0) {
            std::abort();
        }
        for (const Purchase& p : everyPurchase(static_cast<std::int64_t>(game.live().trees.size()))) {
            const std::int64_t coins = game.live().coins;
            if (game.buy(p) && game.live().coins > coins) {
                std::abort(); // a purchase never pays
            }
        }
        for (std::size_t i = 0; i < game.live().trees.size(); ++i) {
            (void)game.harvest(static_cast<std::int64_t>(i));
        }
        (void)game.thisWeek();
        game.save();

        // What the game wrote, it reads back as it was.
        if (const std::optional<std::string> encoded = encodeSave(Save{game.live(), 0, {}})) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) {
                const SaveDecoding back = decodeSave(file.readAll().toStdString());
                if (!back.save || !(back.save->orchard == game.live())) {
                    std::abort();
                }
            }
        }
    }
    folder.removeRecursively();
    return 0;
}
