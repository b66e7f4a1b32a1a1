#pragma once

#include "model/Catalog.h"
#include "scene/Backdrop.h"
#include "scene/Chance.h"
#include "scene/Compositor.h"
#include "scene/Crate.h"
#include "scene/Effects.h"
#include "scene/ErrandPlanner.h"
#include "scene/Grove.h"
#include "scene/Night.h"
#include "scene/Palette.h"
#include "scene/SceneClock.h"
#include "scene/Sprite.h"
#include "scene/Worker.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pipfield {

class Game;
class SceneSettings;
class Sprite;

/// What the view takes from its surroundings; anything left empty gets the real thing.
struct OrchardViewSetup {
    /// Shared with whatever else shows sprites; by default the view makes its own.
    Sprite* sprites = nullptr;
    SceneClock* clock = nullptr;
    /// Uniform in [0, 1); the one source of every random choice of the scene.
    std::function<double()> random;
    /// The local wall clock for the time of day.
    std::function<QDateTime()> now;
    /// Whether the desktop looks dark. By default judged from the widget's palette.
    std::function<bool()> dark;
};

/// The orchard drawn in the strip: ground, seasonal decorations, trees, the crate, night lights,
/// the walking workers and the effects, each a part of its own. It owns no game state: once a second
/// it compares what it shows with the game's published orchard and changes only what differs, and it
/// follows the game's scene settings as they change. Transparent wherever
/// nothing is drawn; fills whatever size it is given (content centred in 724 points).
class OrchardView final : public QWidget {
    Q_OBJECT

public:
    using Setup = OrchardViewSetup;

    static constexpr double kContentWidth = 724;
    /// At this width or less the view neither lays out nor follows the game.
    static constexpr double kMinimumWidth = 300;
    /// How early a paint may take the game's tick: as long as a callback of the scene may wait for
    /// one, a little over the longest gap between paints while anyone walks.
    static constexpr int kShareTickMs = static_cast<int>(SteadySceneClock::kGrace * 1000);

    OrchardView(Game& game, Setup setup = {}, QWidget* parent = nullptr);
    ~OrchardView() override;

    /// The hour override when there is one (not clamped), else the local hour of `now`.
    static int hour(std::optional<int> hourOverride, const QDateTime& now);
    /// Always day when the time-of-day light is off; else the period of the hour.
    static Palette::Period period(bool timeOfDayLight, int hour);
    /// The hour and period from this view's settings and clock.
    int currentHour() const;
    Palette::Period currentPeriod() const;

    /// Follows a new device pixel ratio of the view's screen: sprites are made anew at the new
    /// scale. The strip calls this when its window moves to another screen.
    void backingPropertiesChanged();
    /// The scene's extent in its own points, one per art pixel: the widget's size, or more of them
    /// on a screen with a fractional pixel ratio.
    QSize sceneSize() const;
    /// Follows a light or dark desktop change.
    void appearanceChanged();

    /// The once-a-second update; also run after any rebuild.
    void sync();
    /// Whether the scene is on screen: the view shown, or the surface that paints it visible. Off
    /// screen nothing is synchronised or painted; back on screen it catches up at once.
    void setOnScreen(bool onScreen);
    /// Forgets every shown sprite and rebuilds.
    void redrawAll();
    /// Recomputes the colour grade; true when it changed.
    bool updateGrade();
    /// Resizes and lays the content out for the new width at once.
    void setFrameSize(QSize size);
    /// A click at a point of the scene (points, y growing upwards from the bottom edge): the crate
    /// sells, a tree is picked by hand.
    void clickAt(QPointF point);
    /// Paints the region of the scene (its points) anew into a surface's own image.
    void paintScene(QImage& image, const QRegion& region);

    /// Has the part of the scene repainted: at once when on screen.
    void invalidate(const QRegion& region);
    /// Draws the sky for the scene's size, scale and grade, or drops it.
    void updateSky();

    /// The next errand of a worker.
    std::vector<Worker::Step> plan(const Worker& worker);
    /// Runs the callback on the main thread after that many seconds.
    void after(double seconds, std::function<void()> callback);
    /// The scene clock's present, in seconds.
    double now() const { return m_clock.now(); }
    /// Whether the scene saves power: walkers hop farther and idle animations turn slower.
    bool powerSaving() const { return motionOf(m_settings) == Motion::saving; }
    Sprite& sprites() { return m_sprites; }
    double originX() const { return m_originX; }
    Compositor& compositor() { return m_compositor; }
    const std::shared_ptr<Layer>& rootLayer() const { return m_compositor.root(); }
    const Backdrop& backdrop() const { return m_backdrop; }
    const Crate& crate() const { return m_crate; }
    const Night& night() const { return m_night; }
    const std::vector<PlantedTree>& trees() const { return m_grove.trees(); }
    const std::map<QString, std::shared_ptr<Worker>>& workers() const { return m_workers; }
    /// The whole scene as it is at time t, at the sprites' scale.
    QImage renderImage(double t);

    /// The x of tree i's plot.
    double treeX(std::size_t i) const { return m_originX + 150 + 60 * static_cast<double>(i); }
    /// Positions written to layers fall on half points, whole pixels at a backing scale of 2.
    static double snap(double x);

    /// The sky painted behind the scene where the desktop cannot show through, top and bottom of its
    /// gradient, under the scene's grade so that it darkens with the orchard at night.
    QColor skyTop() const { return Night::skyTop(m_sprites.grade()); }
    QColor skyBottom() const { return Night::skyBottom(m_sprites.grade()); }
    /// Whether the view paints that sky under the scene, filling every pixel, instead of leaving
    /// what lies around the art transparent.
    void setPaintsSky(bool paints);

Q_SIGNALS:
    /// Part of the view must be painted again (points of the view); for a surface that paints the
    /// view itself rather than showing it.
    void damaged(const QRegion& region);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void layOut();
    void countPaint();
    /// A scene setting changed: shown at once when on screen, else when the view comes back.
    void followSettings();
    QRegion toWidget(const QRegion& region) const;
    QRegion toScene(const QRegion& region) const;
    void syncWorkers();
    ErrandPlanner::Ground ground() const;
    std::function<double(std::size_t)> plotX() const {
        return [this](std::size_t i) { return treeX(i); };
    }

    Game& m_game;
    SceneSettings& m_settings;
    std::unique_ptr<Sprite> m_ownSprites;
    Sprite& m_sprites;
    std::unique_ptr<SteadySceneClock> m_ownClock;
    SceneClock& m_clock;
    Chance m_chance;
    ErrandPlanner m_errands;
    std::function<QDateTime()> m_now;
    std::function<bool()> m_dark;
    Compositor m_compositor;

    // Parts of the scene, in the order their layers stack where they share a depth.
    Backdrop m_backdrop;
    Crate m_crate;
    Effects m_effects;
    Grove m_grove;
    Night m_night;
    std::map<QString, std::shared_ptr<Worker>> m_workers;
    qint64 m_seenSales;
    double m_originX = 8.0;
    QSize m_laidOutSize;
    // Scene points per widget point: the device pixel ratio over the whole number of device
    // pixels per art pixel; 1 on every screen with a whole ratio.
    double m_sceneScale = 1.0;
    // On screen the view follows the game's ticks and its compositor paints. Taken off screen (not
    // merely never shown yet) the workers' delayed callbacks wait for the way back as well.
    enum class Screen { notYet, on, off };
    Screen m_screen = Screen::notYet;
    std::vector<std::pair<double, std::function<void()>>> m_parked;
    quint64 m_paints = 0;
    quint64 m_pacedPaints = 0;
    bool m_paintsSky = false;
};

} // namespace pipfield
