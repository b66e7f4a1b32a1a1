#include "strip/StripPanel.h"

#include "strip/DesktopEvents.h"
#include "strip/PanelWindow.h"
#include "strip/PanelWindowing.h"
#include "strip/StripGeometry.h"
#include "strip/StripLog.h"
#include "strip/WidgetPanelWindow.h"
#include "strip/WindowList.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace pipfield {

StripPanel::StripPanel(const WindowList& windows, DesktopEvents& events, const PanelWindowing* windowing,
                       std::unique_ptr<PanelWindow> window, QObject* parent)
    : StripSurface(parent), m_windows(windows), m_events(events), m_windowing(windowing),
      m_window(window ? std::move(window) : std::make_unique<WidgetPanelWindow>()) {
    followCompositing(m_events.compositing());
    // The window type and desktop must be set on the native window before it is first mapped.
    if (m_windowing != nullptr) {
        m_windowing->makePanel(m_window->nativeId());
    }
    connect(m_window.get(), &PanelWindow::screenChanged, this, [this] {
        if (m_content.screenChanged) {
            m_content.screenChanged();
        }
    });

    // A screen's device pixel ratio follows its logical dots per inch, and the frame follows the ratio.
    const auto watch = [this](const QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &StripSurface::outputsChanged);
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &StripSurface::outputsChanged);
    };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](const QScreen* screen) {
        watch(screen);
        Q_EMIT outputsChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &StripSurface::outputsChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &StripSurface::outputsChanged);
    for (const QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    connect(&m_events, &DesktopEvents::desktopSwitched, this, &StripPanel::recheckSoon);
    connect(&m_events, &DesktopEvents::activeWindowChanged, this, &StripPanel::recheckSoon);
    connect(&m_events, &DesktopEvents::compositingChanged, this, &StripPanel::followCompositing);
}

StripPanel::~StripPanel() = default;

std::vector<StripSurface::Screen> StripPanel::screens() const {
    std::vector<Screen> choices;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QString model =
            screen->model().isEmpty() ? screen->name() : screen->manufacturer() + ' ' + screen->model();
        choices.push_back({StripGeometry::displayNumber(screen), model.trimmed()});
    }
    return choices;
}

QScreen* StripPanel::targetScreen() const {
    const QList<QScreen*> all = QGuiApplication::screens();
    std::vector<std::uint32_t> numbers;
    std::vector<QRect> frames;
    for (const QScreen* screen : all) {
        numbers.push_back(StripGeometry::displayNumber(screen));
        frames.push_back(screen->geometry());
    }
    // No choice, or the chosen monitor is unplugged: the screen of the focused window, as it is
    // when the strip is placed.
    const std::optional<QRectF> focused =
        m_screenID != 0 && std::find(numbers.begin(), numbers.end(), m_screenID) != numbers.end()
            ? std::nullopt
            : m_windows.focusedWindow();
    const int index = StripGeometry::chooseScreen(numbers, frames, m_screenID, focused,
                                                  static_cast<int>(all.indexOf(QGuiApplication::primaryScreen())));
    return index < 0 ? nullptr : all[index];
}

void StripPanel::place(qint64 screenID) {
    m_screenID = screenID;
    QScreen* screen = targetScreen();
    if (screen == nullptr) {
        return;
    }
    m_window->setFrame(StripGeometry::frameFor(screen->availableGeometry(), screen->devicePixelRatio()), screen);
}

void StripPanel::setShown(bool shown) {
    m_shown = shown;
    m_shownSaid = true;
    applyVisibility();
}

void StripPanel::setClickThrough(bool on) {
    m_clickThrough = on;
    applyClickThrough();
}

void StripPanel::setAboveFullScreen(bool above) {
    m_aboveFullScreen = above;
    if (m_shownSaid) {
        applyVisibility();
    }
}

void StripPanel::setContent(Content content) {
    m_content = std::move(content);
    m_window->setContent(&m_content);
}

void StripPanel::damage(const QRegion& region) {
    m_window->damage(region);
}

void StripPanel::followCompositing(bool compositing) {
    const bool remade = m_window->setTranslucent(compositing);
    const bool composited = compositing && m_window->translucent();
    if (composited != m_composited) {
        m_composited = composited;
        Q_EMIT compositedChanged(composited);
    }
    // A new native window starts withdrawn and without the panel's hints, as at the first show.
    if (remade && m_shownSaid) {
        applyVisibility();
    }
}

bool StripPanel::fullScreenWindowOn(const QScreen* screen) const {
    if (screen == nullptr || QGuiApplication::screens().isEmpty()) {
        return false;
    }
    const std::optional<std::vector<WindowEntry>> windows = m_windows.onScreenWindows();
    if (!windows || windows->empty()) {
        return false;
    }
    return StripGeometry::fullScreenWindowOn(screen->geometry(), *windows);
}

void StripPanel::applyVisibility() {
    const QScreen* screen = m_window->isVisible() ? m_window->screen() : targetScreen();
    // The window list is read only when its answer can hide the strip.
    m_fullScreenAppActive = !m_aboveFullScreen && fullScreenWindowOn(screen);
    if (!m_aboveFullScreen) {
        checkWindowListLater();
    }
    if (!m_shown || m_fullScreenAppActive) {
        m_window->setVisible(false);
        return;
    }
    if (!m_window->isVisible()) {
        // A withdrawn window loses its desktop and states: they are given again before it maps.
        if (m_windowing != nullptr) {
            m_windowing->makePanel(m_window->nativeId());
        }
        m_window->setVisible(true);
        applyClickThrough();
        if (m_windowing != nullptr) {
            m_windowing->panelShown(m_window->nativeId());
        }
        // A window manager copies the input shape to its frame when it hears of a change; one made
        // before it has taken the window on (a busy openbox) is missed, and the frame then keeps
        // the clicks. Given again once the window manager has had the time.
        QTimer::singleShot(kFullScreenRecheckMs, this, [this] {
            if (m_window->isVisible() && m_clickThrough) {
                m_window->setClickThrough(false);
                applyClickThrough();
            }
        });
    }
    if (m_windowing != nullptr) {
        // Window managers stack a focused full-screen window over every panel; kept in sight, the
        // strip has to be put back on top each time the stacking may have changed.
        m_windowing->keepAboveAll(m_window->nativeId(), m_aboveFullScreen && fullScreenWindowOn(screen));
    }
}

void StripPanel::applyClickThrough() {
    // Only a shown window takes the input shape: set earlier, the window manager's frame swallows it.
    if (!m_window->isVisible()) {
        return;
    }
    m_window->setClickThrough(m_clickThrough);
    if (m_windowing != nullptr) {
        m_windowing->makePanel(m_window->nativeId()); // Qt rewrites the window type with the flags
    }
}

void StripPanel::recheckSoon() {
    // Give a full-screen transition time to finish before the window list is read.
    QTimer::singleShot(kFullScreenRecheckMs, this, &StripPanel::applyVisibility);
}

void StripPanel::checkWindowListLater() {
    if (m_windowListChecked) {
        return;
    }
    m_windowListChecked = true;
    // Asked once a run, a while after hiding was first wanted: a window manager that lists no windows
    // by then never will, and one that is starting (Xfwm4) has had the time to.
    QTimer::singleShot(kWindowListGraceMs, this, [this] {
        if (!m_aboveFullScreen && !m_windows.onScreenWindows()) {
            qCWarning(lcStrip) << "the window manager does not list its windows (no EWMH), so the strip cannot"
                               << "hide over full-screen windows";
        }
    });
}

} // namespace pipfield
