#pragma once

#include "model/Catalog.h"
#include "scene/Compositor.h"
#include "scene/ErrandPlanner.h"
#include "scene/Palette.h"
#include "scene/SceneClock.h"
#include "scene/Sprite.h"
#include "scene/Worker.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace pipfield {

class Defaults;
class Game;
class Sprite;

/// What the view takes from its surroundings; anything left empty gets the real thing.
struct OrchardViewSetup {
    /// Shared with whatever else shows sprites; by default the view makes its own.
    Sprite* sprites = nullptr;
    SceneClock* clock = nullptr;
    /// Uniform in [0, 1); the one source of every random choice of the scene.
    std::function<double()> random;
    /// Effects are skipped while this answers true. By default the setting "reduceMotion".
    std::function<bool()> reduceMotion;
    /// The local wall clock for the time of day.
    std::function<QDateTime()> now;
    /// Whether the desktop looks dark. By default judged from the widget's palette.
    std::function<bool()> dark;
};

/// The orchard drawn in the strip: ground, seasonal decorations, trees, the crate, night lights,
/// the walking workers and the effects. It owns no game state: once a second it compares what it
/// shows with the game's published orchard and changes only what differs. Transparent wherever
/// nothing is drawn; fills whatever size it is given (content centred in 724 points).
class OrchardView final : public QWidget {
    Q_OBJECT

public:
    using Setup = OrchardViewSetup;

    static constexpr double kContentWidth = 724;
    /// At this width or less the view neither lays out nor follows the game.
    static constexpr double kMinimumWidth = 300;

    OrchardView(Game& game, Defaults& defaults, Setup setup = {}, QWidget* parent = nullptr);
    ~OrchardView() override;

    /// The hour override when it is a decimal integer (optional sign, not clamped), else the local hour of `now`.
    static int hour(const QString& hourOverride, const QDateTime& now);
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
    /// A one-shot animation of the named frames at a point, gone when it ends.
    void puff(const QString& name, QPointF at, double perFrame, Grading grading);
    /// Coins spring out of the crate.
    void coinBurst();
    /// One picked fruit arcs from the tree into the crate, starting after `delay` seconds.
    void flyFruit(int tree, TreeKind kind, double delay);
    /// Sparkles and two hops for a worker whose gear improved.
    void celebrate(Worker& worker);

    Sprite& sprites() { return m_sprites; }
    double random() { return m_random(); }
    bool reduceMotion() const { return m_reduceMotion(); }
    double originX() const { return m_originX; }
    Compositor& compositor() { return m_compositor; }
    const std::shared_ptr<Layer>& rootLayer() const { return m_compositor.root(); }
    const std::shared_ptr<Layer>& groundLayer() const { return m_groundLayer; }
    const std::shared_ptr<Layer>& decorLayer() const { return m_decorLayer; }
    const std::shared_ptr<Layer>& crateLayer() const { return m_crate; }
    const std::shared_ptr<Layer>& crateSparkle() const { return m_crateSparkle; }
    const std::shared_ptr<Layer>& lantern() const { return m_lantern; }
    const std::vector<std::shared_ptr<Layer>>& treeLayers() const { return m_treeLayers; }
    const QStringList& treeNames() const { return m_treeNames; }
    const QString& crateName() const { return m_crateName; }
    const std::map<QString, std::shared_ptr<Worker>>& workers() const { return m_workers; }
    /// The whole scene as it is at time t, at the sprites' scale.
    QImage renderImage(double t);

    /// The x of tree i's plot.
    double treeX(std::size_t i) const { return m_originX + 150 + 60 * static_cast<double>(i); }
    /// Positions written to layers fall on half points, whole pixels at a backing scale of 2.
    static double snap(double x);

    /// The sky painted behind the scene where the desktop cannot show through, top and bottom of its
    /// gradient, under the scene's grade so that it darkens with the orchard at night.
    QColor skyTop() const;
    QColor skyBottom() const;
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
    QRegion toWidget(const QRegion& region) const;
    QRegion toScene(const QRegion& region) const;
    void layoutGround();
    void buildDecor();
    void syncTrees();
    void syncCrate();
    void syncWorkers();
    ErrandPlanner::Ground ground() const;
    void syncNight();
    void firefly();
    void playOnce(const QList<QImage>& frames, QPointF at, double perFrame);
    double uniform(double low, double high);
    std::size_t pick(std::size_t count);

    Game& m_game;
    Defaults& m_defaults;
    std::unique_ptr<Sprite> m_ownSprites;
    Sprite& m_sprites;
    std::unique_ptr<SteadySceneClock> m_ownClock;
    SceneClock& m_clock;
    std::function<double()> m_random;
    ErrandPlanner m_errands;
    std::function<bool()> m_reduceMotion;
    std::function<QDateTime()> m_now;
    std::function<bool()> m_dark;
    Compositor m_compositor;

    std::shared_ptr<Layer> m_groundLayer;
    std::shared_ptr<Layer> m_decorLayer;
    std::vector<std::shared_ptr<Layer>> m_treeLayers;
    QStringList m_treeNames;
    std::vector<int> m_treeStages;
    std::vector<std::optional<TreeKind>> m_treeKinds;
    std::shared_ptr<Layer> m_crate;
    QString m_crateName;
    std::shared_ptr<Layer> m_crateSparkle;
    std::map<QString, std::shared_ptr<Worker>> m_workers;
    std::shared_ptr<Layer> m_lantern;
    std::optional<bool> m_builtNight;
    std::optional<Season> m_builtSeason;
    int m_groundTrees = -1;
    qint64 m_seenSales;
    QTimer m_timer;
    double m_originX = 8.0;
    QSize m_laidOutSize;
    // Scene points per widget point: the device pixel ratio over the whole number of device
    // pixels per art pixel; 1 on every screen with a whole ratio.
    double m_sceneScale = 1.0;
    quint64 m_paints = 0;
    quint64 m_pacedPaints = 0;
    bool m_paintsSky = false;
};

} // namespace pipfield
