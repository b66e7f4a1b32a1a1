#include "scene/OrchardView.h"

#include "game/Game.h"
#include "game/SceneSettings.h"
#include "game/Texts.h"
#include "scene/ArtScale.h"
#include "scene/Grade.h"
#include "scene/SceneLog.h"
#include "scene/Sprite.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>

namespace pipfield {

namespace {

// Screen readers meet the strip as one picture with a name, not as an empty pane.
QAccessibleInterface* accessibleOrchard(const QString&, QObject* object) {
    if (auto* view = qobject_cast<OrchardView*>(object)) {
        return new QAccessibleWidget(view, QAccessible::Graphic);
    }
    return nullptr;
}

std::function<double()> seededRandom() {
    auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

} // namespace

int OrchardView::hour(std::optional<int> hourOverride, const QDateTime& now) {
    return hourOverride.value_or(now.toLocalTime().time().hour());
}

Palette::Period OrchardView::period(bool timeOfDayLight, int hour) {
    return timeOfDayLight ? Palette::periodForHour(hour) : Palette::Period::day;
}

OrchardView::OrchardView(Game& game, Setup setup, QWidget* parent)
    : QWidget(parent), m_game(game), m_settings(game.sceneSettings()),
      m_ownSprites(setup.sprites != nullptr ? nullptr : std::make_unique<Sprite>()),
      m_sprites(setup.sprites != nullptr ? *setup.sprites : *m_ownSprites),
      m_ownClock(setup.clock != nullptr ? nullptr : std::make_unique<SteadySceneClock>()),
      m_clock(setup.clock != nullptr ? *setup.clock : *m_ownClock),
      m_chance(setup.random ? std::move(setup.random) : seededRandom()), m_errands([this] { return m_chance(); }),
      m_now(setup.now ? std::move(setup.now) : std::function<QDateTime()>([] { return QDateTime::currentDateTime(); })),
      m_dark(setup.dark ? std::move(setup.dark) : std::function<bool()>([this] { return looksDark(palette()); })),
      m_compositor(m_clock,
                   [this](const QRegion& region) {
                       invalidate(region);
                       Q_EMIT damaged(region);
                   }),
      m_backdrop(m_sprites, m_compositor.root()), m_crate(m_sprites, m_clock),
      m_effects(
          m_sprites, m_clock, m_compositor.root(), m_chance, m_settings, [this] { return m_originX; }, m_crate.layer()),
      m_grove(m_sprites, m_compositor.root(), m_effects), m_night(m_sprites, m_compositor.root(), m_chance, m_effects),
      m_seenSales(game.saleCount()) {
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleOrchard);
        return true;
    }();
    Q_UNUSED(accessible);
    setAccessibleName(Texts::ui("레몬 과수원"));
    m_compositor.root()->addChild(m_crate.layer());
    m_compositor.setViewSize(sceneSize());
    // Nothing is painted, and nothing wakes the compositor, until the view is on screen.
    m_compositor.setActive(false);
    // A game tick due before the next paint could take it is taken by this one: one wake-up, not two.
    m_compositor.setBeforeFlush([this] { m_game.shareWakeUp(kShareTickMs); });

    // The view looks at the game when the game has moved on, in the same wake-up: at once, and
    // without a timer of its own. Only while on screen; it catches up when shown again.
    connect(&game, &Game::ticked, this, [this] {
        if (m_screen == Screen::on) {
            sync();
        }
    });

    connect(&m_settings, &SceneSettings::themeChanged, this, &OrchardView::followSettings);
    connect(&m_settings, &SceneSettings::timeOfDayLightChanged, this, &OrchardView::followSettings);
    connect(&m_settings, &SceneSettings::hourOverrideChanged, this, &OrchardView::followSettings);
    connect(&m_settings, &SceneSettings::powerSavingChanged, this, [this] {
        for (const auto& [key, worker] : m_workers) {
            worker->repace();
        }
        followSettings();
    });
}

void OrchardView::followSettings() {
    // Off screen the view catches up when it comes back.
    if (m_screen == Screen::on) {
        sync();
    }
}

void OrchardView::setOnScreen(bool onScreen) {
    if (!onScreen) {
        // A hidden strip animates for nobody and follows the game for nobody.
        m_screen = Screen::off;
        m_compositor.setActive(false);
        updateSky();
        return;
    }
    if (m_screen == Screen::on) {
        return;
    }
    m_screen = Screen::on;
    // Coins spring for a sale the player just made, not for one made while the strip was away.
    m_seenSales = m_game.saleCount();
    for (auto& [seconds, callback] : std::exchange(m_parked, {})) {
        m_clock.after(seconds, std::move(callback));
    }
    sync();
    updateSky();
    m_compositor.setActive(true);
}

OrchardView::~OrchardView() {
    // Workers hold the scene weakly; they must not plan against a half-destroyed view.
    m_workers.clear();
}

int OrchardView::currentHour() const {
    return hour(m_settings.hourOverride(), m_now());
}

Palette::Period OrchardView::currentPeriod() const {
    return period(m_settings.timeOfDayLight(), currentHour());
}

double OrchardView::snap(double x) {
    // std::round takes halves away from zero.
    return std::round(2 * x) / 2;
}

void OrchardView::after(double seconds, std::function<void()> callback) {
    // Off screen the workers' errands wait where they stand: nobody sees them, and each wait would
    // wake the program (behind a lock screen, for hours).
    if (m_screen == Screen::off) {
        m_parked.emplace_back(seconds, std::move(callback));
        return;
    }
    m_clock.after(seconds, std::move(callback));
}

// Sync and layout

void OrchardView::sync() {
    // A running count, so that a measurement can take the difference over any stretch of time.
    qCDebug(lcScene).nospace() << "paints " << m_paints << " flushes " << m_compositor.flushCount()
                               << " walking-paints " << m_pacedPaints << " walking-ms "
                               << qRound64(m_compositor.pacedSeconds() * 1000) << " rebuilds "
                               << m_compositor.rebuildCount() << " stills " << m_compositor.stillDrawCount();
    if (sceneSize().width() <= kMinimumWidth) {
        return;
    }
    if (updateGrade()) {
        redrawAll();
        return;
    }
    const Orchard& orchard = m_game.orchard();
    m_backdrop.follow(orchard.trees.size(), m_game.season(), m_originX, plotX());
    m_grove.follow(orchard.trees, plotX());
    const Motion motion = motionOf(m_settings);
    m_crate.follow(orchard, motion);
    syncWorkers();
    m_night.follow(currentPeriod() == Palette::Period::night, m_originX, motion, orchard.trees.size(), plotX());
    if (m_game.saleCount() != m_seenSales) {
        m_seenSales = m_game.saleCount();
        m_effects.coinBurst();
    }
}

bool OrchardView::updateGrade() {
    const Grade grade =
        Grade::rule(Palette::themeNamed(m_settings.theme()), currentHour(), m_settings.timeOfDayLight(), m_dark());
    // A new grade throws away every processed picture: assign only a real change.
    if (grade == m_sprites.grade()) {
        return false;
    }
    m_sprites.setGrade(grade);
    updateSky();
    return true;
}

void OrchardView::setPaintsSky(bool paints) {
    if (paints == m_paintsSky) {
        return;
    }
    m_paintsSky = paints;
    // Every pixel is the view's own: Qt need not paint the window behind it first.
    setAttribute(Qt::WA_OpaquePaintEvent, paints);
    updateSky();
}

void OrchardView::updateSky() {
    const QSize size = sceneSize();
    // Only a scene on screen has a sky: a strip that starts hidden draws none.
    if (!m_paintsSky || size.isEmpty() || m_screen != Screen::on) {
        m_compositor.setUnderlay(QImage());
        return;
    }
    m_compositor.setUnderlay(Night::sky(size, m_sprites.scale(), m_sprites.grade()));
}

void OrchardView::redrawAll() {
    m_grove.forget();
    m_crate.forget();
    m_backdrop.forget();
    m_night.forget();
    for (const auto& [key, worker] : m_workers) {
        worker->replay();
    }
    sync();
}

void OrchardView::setFrameSize(QSize size) {
    resize(size);
    layOut();
}

void OrchardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The scale depends on the width where the orchard would not fit at the nearest one.
    if (isVisible()) {
        backingPropertiesChanged();
    }
    layOut();
}

void OrchardView::layOut() {
    const QSize scene = sceneSize();
    if (QSizeF(scene) != m_compositor.viewSize()) {
        m_compositor.setViewSize(scene);
        updateSky();
    }
    if (scene == m_laidOutSize || scene.width() <= kMinimumWidth) {
        return;
    }
    m_laidOutSize = scene;
    const double oldOrigin = m_originX;
    // Centred, never closer than 8 points to the left edge.
    m_originX = std::max(8.0, std::round((scene.width() - kContentWidth) / 2));
    m_crate.place(m_originX);
    m_grove.place(plotX());
    for (const auto& [key, worker] : m_workers) {
        worker->shift(m_originX - oldOrigin);
    }
    m_night.forget();
    m_backdrop.forget();
    sync();
}

QSize OrchardView::sceneSize() const {
    // The art pixels the widget's device pixels hold, counted as the platform rounds them; a sliver
    // of an art pixel at the edge shows nothing.
    const int scale = m_sprites.scale();
    const double ratio = m_sceneScale * scale;
    return {devicePixels(width(), ratio) / scale, devicePixels(height(), ratio) / scale};
}

void OrchardView::invalidate(const QRegion& region) {
    const QWindow* window = this->window()->windowHandle();
    if (m_compositor.flushing() && isVisible() && window != nullptr && window->isExposed()) {
        // An animation's change, painted on the same wake-up: a posted update would cost the
        // event loop another round (and a wake-up write and read) for every hop of a walk.
        repaint(toWidget(region));
    } else {
        update(toWidget(region));
    }
}

QRegion OrchardView::toWidget(const QRegion& region) const {
    if (m_sceneScale == 1.0) {
        return region;
    }
    QRegion out;
    for (const QRect& rect : region) {
        out += QRectF(rect.x() / m_sceneScale, rect.y() / m_sceneScale, rect.width() / m_sceneScale,
                      rect.height() / m_sceneScale)
                   .toAlignedRect();
    }
    return out;
}

QRegion OrchardView::toScene(const QRegion& region) const {
    if (m_sceneScale == 1.0) {
        return region;
    }
    QRegion out;
    for (const QRect& rect : region) {
        out += QRectF(rect.x() * m_sceneScale, rect.y() * m_sceneScale, rect.width() * m_sceneScale,
                      rect.height() * m_sceneScale)
                   .toAlignedRect();
    }
    return out;
}

void OrchardView::backingPropertiesChanged() {
    // Art pixels are a whole number of device pixels. Where the screen's ratio is fractional (1.25,
    // 1.5, 1.75) the scene is drawn at the whole ratio nearest it at which the orchard fits across,
    // and gets as many art pixels as the widget's device pixels hold; the strip sizes its window so
    // that this is the intended size.
    const double ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    const int scale = fittingArtScale(ratio, devicePixels(width(), ratio), static_cast<int>(kContentWidth));
    const double sceneScale = ratio / scale;
    const bool rescaled = scale != m_sprites.scale();
    const bool resized = sceneScale != m_sceneScale;
    m_sceneScale = sceneScale;
    if (rescaled) {
        m_sprites.setScale(scale);
        updateSky();
    }
    if (resized) {
        layOut();
    }
    if (rescaled) {
        redrawAll();
    }
    if (rescaled || resized) {
        update();
    }
}

void OrchardView::appearanceChanged() {
    if (updateGrade()) {
        redrawAll();
    }
}

void OrchardView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        appearanceChanged();
    }
}

void OrchardView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    backingPropertiesChanged();
    setOnScreen(true);
}

void OrchardView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    setOnScreen(false);
}

// Painting and clicks

void OrchardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (m_sceneScale != 1.0) {
        painter.scale(1 / m_sceneScale, 1 / m_sceneScale);
    }
    countPaint();
    m_compositor.paint(painter, toScene(event->region()));
}

void OrchardView::paintScene(QImage& image, const QRegion& region) {
    countPaint();
    m_compositor.paint(image, region);
}

void OrchardView::countPaint() {
    if (m_paints++ == 0) {
        qCDebug(lcScene) << "first paint";
    }
    if (m_compositor.beat() > 0) {
        ++m_pacedPaints;
    }
}

QImage OrchardView::renderImage(double t) {
    const int scale = m_sprites.scale();
    QImage image(sceneSize() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    m_compositor.render(painter, t);
    return image;
}

void OrchardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const QPointF p = event->position() * m_sceneScale;
    clickAt({p.x(), sceneSize().height() - p.y()});
}

void OrchardView::clickAt(QPointF point) {
    // The crate is tested first: where it overlaps a tree, selling wins.
    if (m_crate.layer()->frame().contains(point)) {
        m_game.sellAll();
        sync();
        return;
    }
    const std::optional<std::size_t> hit = m_grove.hit(point);
    const std::vector<Tree>& trees = m_game.orchard().trees;
    if (!hit || *hit >= trees.size()) {
        return;
    }
    const TreeKind kind = trees[*hit].kind;
    // Game::harvest publishes, saves and re-plans the notification when anything was picked.
    const std::int64_t picked = m_game.harvest(static_cast<std::int64_t>(*hit));
    for (std::int64_t k = 0; k < std::min<std::int64_t>(picked, 5); ++k) {
        m_effects.flyFruit(treeX(*hit), kind, 0.08 * static_cast<double>(k));
    }
    sync();
}

} // namespace pipfield
