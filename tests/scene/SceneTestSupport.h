#pragma once

#include "FakeArt.h"
#include "game/SceneSettings.h"
#include "model/Balance.h"
#include "scene/OrchardView.h"
#include "scene/SceneClock.h"
#include "scene/Sprite.h"
#include "support/GameTestSupport.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace pipfield::test {

/// A scene clock that stands still until a test moves it; delayed callbacks run in time order.
class FakeSceneClock final : public SceneClock {
public:
    double now() const override { return m_now; }
    void after(double seconds, std::function<void()> callback) override {
        m_pending.emplace(m_now + seconds, std::move(callback));
    }
    /// Moves time on by dt, running every callback that falls due on the way, at its own time.
    void advance(double dt) {
        const double end = m_now + dt;
        // A multimap puts a callback after those due at the same time, so they run in the order asked.
        while (!m_pending.empty() && m_pending.begin()->first <= end + 1e-9) {
            auto next = m_pending.extract(m_pending.begin());
            m_now = std::max(m_now, next.key());
            next.mapped()();
        }
        m_now = end;
    }

private:
    double m_now = 100.0;
    std::multimap<double, std::function<void()>> m_pending;
};

inline constexpr const char* kWorkerAnims[] = {"idle",  "walk", "dig",  "water", "pick",
                                               "carry", "wave", "yawn", "sniff"};

/// Plain coloured rectangles under every name the scene asks for; trees 20 x 30, crate 28 x 22.
inline FakeArt sceneArt(int treeWidth = 20) {
    FakeArt art;
    art.add("ground-0", QColor(90, 60, 30), 32, 8);
    for (const char* season : {"spring", "summer", "autumn", "winter"}) {
        art.add(QStringLiteral("season-") + season, Qt::magenta, 6, 6);
    }
    for (TreeKind kind : allTreeKinds) {
        const QString stem = QStringLiteral("tree-") + QString::fromUtf8(rawValue(kind).data()) + u'-';
        for (TreeStage stage : allTreeStages) {
            art.add(stem + QString::number(artNumber(stage)), QColor(20, 100 + 20 * artNumber(stage), 20), treeWidth,
                    30);
        }
        art.add(QStringLiteral("fruit-") + QString::fromUtf8(rawValue(kind).data()), Qt::yellow, 4, 4);
    }
    for (int i = 0; i < 3; ++i) {
        art.add(QStringLiteral("crate-%1").arg(i), QColor(150 + 10 * i, 100 + 10 * i, 50), 28, 22);
        for (const char* run : {"fx-sparkle", "fx-dust", "fx-water", "fx-coin", "fx-firefly", "lantern"}) {
            art.add(QStringLiteral("%1-%2").arg(QLatin1String(run)).arg(i), QColor(255, 255, 100 + 50 * i), 5, 5);
        }
    }
    for (WorkerRole role : allWorkerRoles) {
        for (const char* anim : kWorkerAnims) {
            for (int i = 0; i < 2; ++i) {
                art.add(QStringLiteral("%1-%2-%3")
                            .arg(QString::fromUtf8(rawValue(role).data()), QLatin1String(anim))
                            .arg(i),
                        QColor(0, 0, 200 + 20 * i), 10, 12);
            }
        }
    }
    return art;
}

/// The colour of the pixel that covers a scene point (points, y growing upwards from the bottom edge).
inline QColor colourAt(const QImage& image, QPointF point) {
    const double ratio = image.devicePixelRatio();
    const int x = static_cast<int>(std::floor(point.x() * ratio));
    const int y = image.height() - 1 - static_cast<int>(std::floor(point.y() * ratio));
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return {};
    }
    return image.pixelColor(x, y);
}

/// A game seeded with an orchard, and a view on it with fake art, clock and randomness.
struct SceneWorld {
    explicit SceneWorld(const Orchard& orchard, QSize size = {746, 72}, FakeArt fakeArt = sceneArt(), int scale = 1)
        : world(localInstant(2024, 4, 10, 12)), art(std::move(fakeArt)), sprites(art.source(), &dyes, scale) {
        // Workers' blues take a dye.
        for (WorkerRole role : allWorkerRoles) {
            for (const char* anim : kWorkerAnims) {
                dyes.insert(QStringLiteral("%1-%2").arg(QString::fromUtf8(rawValue(role).data()), QLatin1String(anim)),
                            {0x0000c8, 0x0000dc});
            }
        }
        world.seed(orchard, world.clock.now());
        game = world.launch();
        view = makeView(
            sprites, [this] { return random; }, size);
    }

    /// Another view on the same game and clock, at noon on a light desktop.
    std::unique_ptr<OrchardView> makeView(Sprite& pictures, std::function<double()> chance, QSize size) {
        OrchardViewSetup setup;
        setup.sprites = &pictures;
        setup.clock = &clock;
        setup.random = std::move(chance);
        setup.now = [] { return QDateTime(QDate(2024, 4, 10), QTime(12, 0)); };
        setup.dark = [] { return false; };
        auto made = std::make_unique<OrchardView>(*game, setup);
        made->setFrameSize(size);
        return made;
    }

    /// Layers that belong to effects (puffs, coins, fruit), by the key of their animation.
    std::size_t effects(const QString& key = {}) const {
        const auto& layers = view->rootLayer()->children();
        return static_cast<std::size_t>(std::count_if(layers.begin(), layers.end(), [&](const auto& layer) {
            return layer->z() == 30 && (key.isEmpty() || layer->animation(key) != nullptr);
        }));
    }
    SceneSettings& settings() const { return game->sceneSettings(); }
    Worker& worker(const char* key) const { return *view->workers().at(QString::fromLatin1(key)); }

    /// Moves the scene clock to the compositor's next planned flush and flushes; false when none is planned.
    bool nextFlush() {
        const std::optional<double> due = view->compositor().plannedFlush();
        if (due) {
            clock.advance(std::max(0.0, *due - clock.now()));
            view->compositor().flush();
        }
        return due.has_value();
    }
    /// The colour the whole scene shows at a scene point at time t, drawn afresh.
    QColor colourAt(double t, QPointF point) const { return test::colourAt(view->renderImage(t), point); }
    /// The same now.
    QColor colourNow(QPointF point) const { return colourAt(clock.now(), point); }

    /// What the view paints now: the scene as of its last flush, at the sprites' scale.
    QImage painted() {
        const int scale = sprites.scale();
        QImage image(view->sceneSize() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        view->compositor().paint(painter, QRegion(QRect(QPoint(0, 0), view->sceneSize())));
        return image;
    }

    GameWorld world;
    FakeArt art;
    Palette::DyeColors dyes;
    Sprite sprites;
    FakeSceneClock clock;
    double random = 0.5;
    std::unique_ptr<Game> game;
    std::unique_ptr<OrchardView> view;
};

/// An orchard with these trees and one worker of each role at the given level.
inline Orchard withWorkers(std::vector<WorkerRole> roles, std::vector<Tree> trees, std::int64_t level = 1) {
    Orchard o = bareOrchard(std::move(trees));
    for (WorkerRole role : roles) {
        o.workers.set(role, level);
    }
    return o;
}

/// The orchard with that many lemons waiting in the crate.
inline Orchard withCrate(Orchard o, std::int64_t lemons) {
    o.crate.set(TreeKind::eureka, lemons);
    return o;
}

/// The undyed blues of the fake workers (see sceneArt).
inline bool isWorker(QColor c) {
    return c.red() == 0 && c.green() == 0 && c.blue() >= 200;
}

} // namespace pipfield::test
