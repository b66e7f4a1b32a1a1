#include "scene/OrchardView.h"

#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Texts.h"
#include "scene/Grade.h"
#include "scene/SceneLog.h"
#include "scene/Sprite.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QResizeEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace pipfield {

namespace {

const QColor kSkyTop(0x9f, 0xd4, 0xf2);
const QColor kSkyBottom(0xd8, 0xef, 0xfb);

std::optional<int> parseInteger(const QString& text) {
    QStringView digits(text);
    bool negative = false;
    if (digits.startsWith(u'+') || digits.startsWith(u'-')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    long long value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// Screen readers meet the strip as one picture with a name, not as an empty pane.
QAccessibleInterface* accessibleOrchard(const QString&, QObject* object) {
    if (auto* view = qobject_cast<OrchardView*>(object)) {
        return new QAccessibleWidget(view, QAccessible::Graphic);
    }
    return nullptr;
}

QString text(std::string_view raw) {
    return QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
}

std::function<double()> seededRandom() {
    auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

} // namespace

int OrchardView::hour(const QString& hourOverride, const QDateTime& now) {
    if (const auto h = parseInteger(hourOverride)) {
        return *h;
    }
    return now.toLocalTime().time().hour();
}

Palette::Period OrchardView::period(bool timeOfDayLight, int hour) {
    return timeOfDayLight ? Palette::periodForHour(hour) : Palette::Period::day;
}

OrchardView::OrchardView(Game& game, Defaults& defaults, Setup setup, QWidget* parent)
    : QWidget(parent), m_game(game), m_defaults(defaults),
      m_ownSprites(setup.sprites != nullptr ? nullptr : std::make_unique<Sprite>()),
      m_sprites(setup.sprites != nullptr ? *setup.sprites : *m_ownSprites),
      m_ownClock(setup.clock != nullptr ? nullptr : std::make_unique<SteadySceneClock>()),
      m_clock(setup.clock != nullptr ? *setup.clock : *m_ownClock),
      m_random(setup.random ? std::move(setup.random) : seededRandom()), m_errands([this] { return m_random(); }),
      m_reduceMotion(setup.reduceMotion ? std::move(setup.reduceMotion) : std::function<bool()>([&defaults] {
          return defaults.boolValue(SettingsKey::reduceMotion);
      })),
      m_now(setup.now ? std::move(setup.now) : std::function<QDateTime()>([] { return QDateTime::currentDateTime(); })),
      m_dark(setup.dark ? std::move(setup.dark) : std::function<bool()>([this] { return looksDark(palette()); })),
      m_compositor(m_clock,
                   [this](const QRegion& region) {
                       invalidate(region);
                       Q_EMIT damaged(region);
                   }),
      m_groundLayer(Layer::create()), m_decorLayer(Layer::create()), m_crate(Sprite::layer()),
      m_seenSales(game.saleCount()) {
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleOrchard);
        return true;
    }();
    Q_UNUSED(accessible);
    setAccessibleName(Texts::ui("레몬 과수원"));
    m_groundLayer->setAnchor({0, 0});
    m_groundLayer->setClips(true);
    m_decorLayer->setAnchor({0, 0});
    m_decorLayer->setZ(5);
    m_crate->setZ(15);
    const auto& root = m_compositor.root();
    root->addChild(m_groundLayer);
    root->addChild(m_decorLayer);
    root->addChild(m_crate);
    m_compositor.setViewSize(sceneSize());
    // Nothing is painted, and nothing wakes the compositor, until the view is on screen.
    m_compositor.setActive(false);

    // The timer is a member, destroyed with the view, so a view that is gone is never synchronised.
    // It runs only while the view is on screen.
    m_timer.setInterval(1000);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &OrchardView::sync);
}

void OrchardView::setOnScreen(bool onScreen) {
    if (!onScreen) {
        // A hidden strip animates for nobody and follows the game for nobody.
        m_timer.stop();
        m_compositor.setActive(false);
        updateSky();
        return;
    }
    if (m_timer.isActive()) {
        return;
    }
    // Coins spring for a sale the player just made, not for one made while the strip was away.
    m_seenSales = m_game.saleCount();
    sync();
    m_timer.start();
    updateSky();
    m_compositor.setActive(true);
}

OrchardView::~OrchardView() {
    // Workers hold the scene weakly; they must not plan against a half-destroyed view.
    m_workers.clear();
}

int OrchardView::currentHour() const {
    return hour(m_defaults.string(SettingsKey::hour).value_or(QString()), m_now());
}

Palette::Period OrchardView::currentPeriod() const {
    return period(m_defaults.boolValue(SettingsKey::timeOfDayLight), currentHour());
}

double OrchardView::snap(double x) {
    // std::round takes halves away from zero.
    return std::round(2 * x) / 2;
}

double OrchardView::uniform(double low, double high) {
    return low + (high - low) * m_random();
}

std::size_t OrchardView::pick(std::size_t count) {
    if (count == 0) {
        return 0;
    }
    const auto i = static_cast<std::size_t>(std::floor(m_random() * static_cast<double>(count)));
    return std::min(i, count - 1);
}

void OrchardView::after(double seconds, std::function<void()> callback) {
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
    if (m_groundTrees != static_cast<int>(orchard.trees.size())) {
        layoutGround();
        m_builtSeason.reset();
    }
    syncTrees();
    syncCrate();
    syncWorkers();
    if (!m_builtSeason || *m_builtSeason != m_game.season()) {
        buildDecor();
    }
    syncNight();
    if (m_game.saleCount() != m_seenSales) {
        m_seenSales = m_game.saleCount();
        coinBurst();
    }
}

bool OrchardView::updateGrade() {
    const Palette::Theme theme = Palette::themeFromRaw(m_defaults.string(SettingsKey::theme).value_or(QString()))
                                     .value_or(Palette::Theme::sunny);
    const Grade grade = Grade::rule(theme, currentHour(), m_defaults.boolValue(SettingsKey::timeOfDayLight), m_dark());
    // A new grade throws away every processed picture: assign only a real change.
    if (grade == m_sprites.grade()) {
        return false;
    }
    m_sprites.setGrade(grade);
    updateSky();
    return true;
}

QColor OrchardView::skyTop() const {
    return m_sprites.grade().apply(kSkyTop);
}

QColor OrchardView::skyBottom() const {
    return m_sprites.grade().apply(kSkyBottom);
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
    if (!m_paintsSky || size.isEmpty() || !m_timer.isActive()) {
        m_compositor.setUnderlay(QImage());
        return;
    }
    const int scale = m_sprites.scale();
    QImage sky(size * scale, QImage::Format_ARGB32_Premultiplied);
    sky.setDevicePixelRatio(scale);
    QPainter painter(&sky);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, skyTop());
    gradient.setColorAt(1, skyBottom());
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    painter.end();
    m_compositor.setUnderlay(sky);
}

void OrchardView::redrawAll() {
    std::fill(m_treeNames.begin(), m_treeNames.end(), QString());
    std::fill(m_treeStages.begin(), m_treeStages.end(), -1);
    m_crateName.clear();
    if (m_crateSparkle) {
        m_crateSparkle->removeFromParent();
        m_crateSparkle.reset();
    }
    m_groundTrees = -1;
    m_builtSeason.reset();
    m_builtNight.reset();
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
    m_crate->setPosition({m_originX + 30, 4});
    for (std::size_t i = 0; i < m_treeLayers.size(); ++i) {
        m_treeLayers[i]->setPosition({treeX(i), 6});
    }
    for (const auto& [key, worker] : m_workers) {
        worker->shift(m_originX - oldOrigin);
    }
    m_builtNight.reset();
    m_groundTrees = -1;
    m_builtSeason.reset();
    sync();
}

QSize OrchardView::sceneSize() const {
    // Whole points only: a sliver of a point at the edge shows nothing.
    return {static_cast<int>(std::floor(width() * m_sceneScale + 1e-6)),
            static_cast<int>(std::floor(height() * m_sceneScale + 1e-6))};
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
    // 1.5, 1.75) the scene is drawn at the whole ratio below it and gets more points than the
    // widget has, so it sits centred and smaller instead of drawing uneven pixel columns.
    const double ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    const int scale = Sprite::pixelScale(ratio);
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

void OrchardView::layoutGround() {
    const std::size_t n = m_game.orchard().trees.size();
    m_groundTrees = static_cast<int>(n);
    m_groundLayer->removeAllChildren();
    const std::optional<QImage> tile = m_sprites.image(QStringLiteral("ground-0"), std::nullopt, Grading::graded);
    if (!tile) {
        return;
    }
    const double ratio = tile->devicePixelRatio();
    const double w = tile->width() / ratio;
    const double h = tile->height() / ratio;
    if (w <= 0) {
        return;
    }
    const double width = 190 + 60 * static_cast<double>(std::min(n, Orchard::maxTrees - 1));
    m_groundLayer->setPosition({m_originX - 6, 0});
    m_groundLayer->setBounds({width, h});
    int k = 0;
    for (double x = 0; x < width; x += w, ++k) {
        auto piece = Sprite::layer(*tile);
        // Every second tile is mirrored so that the repetition does not show; anchored at its
        // right edge, the mirror still covers x to x + w.
        const bool mirrored = k % 2 == 1;
        piece->setAnchor({mirrored ? 1.0 : 0.0, 0});
        piece->setFlipped(mirrored);
        piece->setPosition({x, 0});
        m_groundLayer->addChild(piece);
    }
}

void OrchardView::buildDecor() {
    const Season season = m_game.season();
    m_builtSeason = season;
    m_decorLayer->removeAllChildren();
    const std::optional<QImage> image =
        m_sprites.image(QStringLiteral("season-") + text(rawValue(season)), std::nullopt, Grading::graded);
    if (!image) {
        return;
    }
    const std::size_t n = m_game.orchard().trees.size();
    const double end = treeX(std::min(n, Orchard::maxTrees - 1)) + 34;
    std::vector<double> xs;
    switch (season) {
    case Season::winter:
        xs = {end - 18};
        break;
    case Season::summer:
        xs = {m_originX + 96};
        break;
    case Season::spring:
    case Season::autumn:
        xs.push_back(m_originX + 100);
        // Halfway between every third pair of trees, starting after the third tree.
        for (std::size_t i = 2; i + 1 < n; i += 3) {
            xs.push_back(treeX(i) + 30);
        }
        xs.push_back(end - 14);
        break;
    }
    for (double x : xs) {
        auto piece = Sprite::layer(*image);
        piece->setPosition({snap(x), 4});
        m_decorLayer->addChild(piece);
    }
}

void OrchardView::syncTrees() {
    const std::vector<Tree>& trees = m_game.orchard().trees;
    const std::size_t n = trees.size();
    while (m_treeLayers.size() < n) {
        auto layer = Sprite::layer();
        layer->setZ(10);
        layer->setPosition({treeX(m_treeLayers.size()), 6});
        m_compositor.root()->addChild(layer);
        m_treeLayers.push_back(layer);
        m_treeNames.append(QString());
        m_treeStages.push_back(-1);
        m_treeKinds.push_back(std::nullopt);
        // The first tree simply stands there; every later one is planted with a puff of dust.
        if (m_treeLayers.size() >= 2) {
            puff(QStringLiteral("fx-dust"), layer->position(), 0.1, Grading::graded);
        }
    }
    while (m_treeLayers.size() > n) {
        m_treeLayers.back()->removeFromParent();
        m_treeLayers.pop_back();
        m_treeNames.removeLast();
        m_treeStages.pop_back();
        m_treeKinds.pop_back();
    }
    for (std::size_t i = 0; i < n; ++i) {
        const Tree& tree = trees[i];
        const int stage = tree.stage();
        if (m_treeStages[i] == stage && m_treeKinds[i] == tree.kind) {
            continue;
        }
        const QString prefix = QStringLiteral("tree-") + text(rawValue(tree.kind)) + u'-';
        const QString name = prefix + QString::number(stage);
        const auto qi = static_cast<qsizetype>(i);
        if (name == m_treeNames[qi]) {
            continue;
        }
        const std::optional<QImage> image = m_sprites.image(name, std::nullopt, Grading::graded);
        if (!image) {
            continue;
        }
        m_treeStages[i] = stage;
        m_treeKinds[i] = tree.kind;
        // Names reset by a redraw, or of another kind, are no growth.
        const QString& oldName = m_treeNames[qi];
        const int oldStage =
            oldName.startsWith(prefix) && oldName.size() == prefix.size() + 1 && oldName.back().isDigit()
                ? oldName.back().digitValue()
                : -1;
        m_treeNames[qi] = name;
        m_treeLayers[i]->show(*image);
        const bool matured = oldStage < 3 && stage > 2;
        const bool fruited = stage == 6 && oldStage != 6;
        if (oldStage >= 0 && (matured || fruited)) {
            puff(QStringLiteral("fx-sparkle"), {treeX(i) + 8, m_treeLayers[i]->bounds().height() * 0.6 + 6}, 0.1,
                 Grading::graded);
        }
    }
}

void OrchardView::syncCrate() {
    const Orchard& orchard = m_game.orchard();
    const std::int64_t count = orchard.crateCount();
    const std::int64_t capacity = orchard.crateCapacity();
    int fill = 0;
    if (count > 0) {
        fill = capacity > 0 && static_cast<double>(count) / static_cast<double>(capacity) < 0.7 ? 1 : 2;
    }
    const QString name = QStringLiteral("crate-") + QString::number(fill);
    if (name != m_crateName) {
        // A missing picture keeps the old one. The sprite store remembers what it could not find, so
        // the ticks that ask again change nothing until the program is started anew.
        if (const std::optional<QImage> image = m_sprites.image(name, std::nullopt, Grading::graded)) {
            m_crateName = name;
            m_crate->show(*image);
        }
    }
    if (count >= capacity && !m_crateSparkle && !reduceMotion()) {
        QList<QImage> frames = m_sprites.frames(QStringLiteral("fx-sparkle"), std::nullopt, Grading::graded);
        if (frames.isEmpty()) {
            return;
        }
        auto sparkle = Sprite::layer(frames.front());
        const QSizeF crate = m_crate->bounds();
        sparkle->setPosition({crate.width() * 0.8, crate.height() - 6});
        sparkle->setZ(1);
        // A burst, then a pause as long as four frames.
        for (int i = 0; i < 4; ++i) {
            frames.append(Sprite::blank());
        }
        // On the beat of the workers' tool flip-books, which turn at the same pace.
        sparkle->addAnimation(QStringLiteral("anim"),
                              Sprite::flipbook(frames, 0.12).beginAt(Animation::nextBeat(m_clock.now(), 0.12)));
        m_crate->addChild(sparkle);
        m_crateSparkle = sparkle;
    } else if (count < capacity && m_crateSparkle) {
        m_crateSparkle->removeFromParent();
        m_crateSparkle.reset();
    }
}

void OrchardView::syncNight() {
    const bool night = currentPeriod() == Palette::Period::night;
    if (m_builtNight && *m_builtNight == night) {
        // About one tick in four shows a firefly.
        if (night && !reduceMotion() && m_random() < 0.24 && !m_game.orchard().trees.empty()) {
            firefly();
        }
        return;
    }
    m_builtNight = night;
    if (m_lantern) {
        m_lantern->removeFromParent();
        m_lantern.reset();
    }
    const QList<QImage> frames = m_sprites.frames(QStringLiteral("lantern"), std::nullopt, Grading::asIs);
    if (!night || frames.isEmpty()) {
        return;
    }
    auto lantern = Sprite::layer(frames.front());
    lantern->setPosition({m_originX + 64, 4});
    lantern->setZ(6);
    if (frames.size() >= 2 && !reduceMotion()) {
        lantern->addAnimation(QStringLiteral("anim"), Sprite::flipbook(frames, 0.7));
    }
    m_compositor.root()->addChild(lantern);
    m_lantern = lantern;
}

void OrchardView::firefly() {
    const std::size_t n = m_game.orchard().trees.size();
    const std::size_t i = pick(n);
    const double x = treeX(i) + uniform(-24, 24);
    const double y = uniform(26, 60);
    const QList<QImage> frames = m_sprites.frames(QStringLiteral("fx-firefly"), std::nullopt, Grading::asIs);
    if (reduceMotion() || frames.isEmpty()) {
        return;
    }
    playOnce(frames, {x, y}, 0.25);
}

// Painting and clicks

void OrchardView::paintEvent(QPaintEvent* event) {
    if (m_paints++ == 0) {
        qCDebug(lcScene) << "first paint";
    }
    if (m_compositor.beat() > 0) {
        ++m_pacedPaints;
    }
    QPainter painter(this);
    if (m_sceneScale != 1.0) {
        painter.scale(1 / m_sceneScale, 1 / m_sceneScale);
    }
    m_compositor.paint(painter, toScene(event->region()));
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
    if (m_crate->frame().contains(point)) {
        m_game.sellAll();
        sync();
        return;
    }
    std::optional<std::size_t> hit;
    for (std::size_t i = 0; i < m_treeLayers.size(); ++i) {
        if (m_treeLayers[i]->frame().contains(point)) {
            hit = i;
            break;
        }
    }
    const std::vector<Tree>& trees = m_game.orchard().trees;
    if (!hit || *hit >= trees.size()) {
        return;
    }
    const TreeKind kind = trees[*hit].kind;
    // Game::harvest publishes, saves and re-plans the notification when anything was picked.
    const std::int64_t picked = m_game.harvest(static_cast<std::int64_t>(*hit));
    for (std::int64_t k = 0; k < std::min<std::int64_t>(picked, 5); ++k) {
        flyFruit(static_cast<int>(*hit), kind, 0.08 * static_cast<double>(k));
    }
    sync();
}

} // namespace pipfield
