#include "strip/Strip.h"

#include "game/Defaults.h"
#include "platform/DesktopEvents.h"
#include "platform/PanelWindowing.h"
#include "platform/StripSurface.h"
#include "platform/WindowList.h"
#include "strip/StripGeometry.h"
#include "strip/StripPanel.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace pipfield {

Strip::Strip(Defaults& defaults, const WindowList& windows, DesktopEvents& events, const PanelWindowing* windowing,
             QWidget* view, StripSurface* surface, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_windows(windows), m_events(events), m_windowing(windowing),
      m_surface(surface), m_panel(std::make_unique<StripPanel>()) {
    m_isShown = m_defaults.boolValue(SettingsKey::stripShown);
    m_clickThrough = m_defaults.boolValue(SettingsKey::clickThrough);
    m_hideInFullScreen = m_defaults.boolValue(SettingsKey::hideInFullScreen);
    m_screenID = m_defaults.integer(SettingsKey::screenID);

    m_panel->setContent(view);
    if (m_surface != nullptr) {
        // The compositor places the strip, keeps it on every workspace and puts full-screen windows
        // over it or not by its layer: the panel only holds the scene, which the surface paints.
        m_surface->setClickThrough(m_clickThrough);
        m_surface->setAboveFullScreen(!m_hideInFullScreen);
        connect(m_surface, &StripSurface::outputsChanged, this, &Strip::place);
        connect(m_surface, &StripSurface::scaleChanged, this, &Strip::backingScaleChanged);
        place();
        applyVisibility();
        return;
    }
    m_panel->setComposited(m_events.compositing());
    // The window type and desktop must be set on the native window before it is first mapped.
    m_panel->winId();
    if (m_windowing != nullptr) {
        m_windowing->makePanel(m_panel->windowHandle());
    }
    connect(m_panel->windowHandle(), &QWindow::screenChanged, this, &Strip::backingScaleChanged);

    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &Strip::place);
        place();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &Strip::place);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &Strip::place);
    for (QScreen* screen : QGuiApplication::screens()) {
        connect(screen, &QScreen::availableGeometryChanged, this, &Strip::place);
    }
    connect(&m_events, &DesktopEvents::desktopSwitched, this, &Strip::recheckSoon);
    connect(&m_events, &DesktopEvents::activeWindowChanged, this, &Strip::recheckSoon);
    connect(&m_events, &DesktopEvents::compositingChanged, m_panel.get(), &StripPanel::setComposited);

    place();
    applyVisibility();
}

Strip::~Strip() = default;

QWidget* Strip::view() const {
    return m_panel->content();
}

void Strip::setClickThrough(bool on) {
    const bool changed = on != m_clickThrough;
    m_clickThrough = on;
    m_defaults.setValue(SettingsKey::clickThrough, on);
    applyClickThrough();
    if (changed) {
        Q_EMIT clickThroughChanged(on);
    }
}

void Strip::setHideInFullScreen(bool on) {
    const bool changed = on != m_hideInFullScreen;
    m_hideInFullScreen = on;
    m_defaults.setValue(SettingsKey::hideInFullScreen, on);
    if (m_surface != nullptr) {
        m_surface->setAboveFullScreen(!on);
    }
    applyVisibility();
    if (changed) {
        Q_EMIT hideInFullScreenChanged(on);
    }
}

void Strip::setShown(bool shown) {
    const bool changed = shown != m_isShown;
    m_isShown = shown;
    m_defaults.setValue(SettingsKey::stripShown, shown);
    applyVisibility();
    if (changed) {
        Q_EMIT isShownChanged(shown);
    }
}

void Strip::setScreenID(qint64 id) {
    const bool changed = id != m_screenID;
    m_screenID = id;
    m_defaults.setValue(SettingsKey::screenID, id);
    place();
    if (changed) {
        Q_EMIT screenIDChanged(id);
    }
}

std::vector<Strip::ScreenChoice> Strip::screens() const {
    std::vector<ScreenChoice> choices;
    if (m_surface != nullptr) {
        for (const StripSurface::Output& output : m_surface->outputs()) {
            const QString name = output.description.isEmpty() ? output.name : output.description;
            choices.push_back({StripGeometry::displayNumber(output.name, output.description), name});
        }
        return choices;
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QString model =
            screen->model().isEmpty() ? screen->name() : screen->manufacturer() + ' ' + screen->model();
        choices.push_back({StripGeometry::displayNumber(screen), model.trimmed()});
    }
    return choices;
}

QScreen* Strip::targetScreen() const {
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

void Strip::place() {
    if (m_surface != nullptr) {
        placeSurface();
        return;
    }
    const QScreen* screen = targetScreen();
    if (screen == nullptr) {
        return;
    }
    m_panel->setGeometry(StripGeometry::frameFor(screen->availableGeometry()));
}

void Strip::placeSurface() {
    const std::vector<StripSurface::Output> outputs = m_surface->outputs();
    const auto chosen = std::find_if(outputs.begin(), outputs.end(), [this](const StripSurface::Output& output) {
        return m_screenID != 0 && StripGeometry::displayNumber(output.name, output.description) == m_screenID;
    });
    // No choice, or the chosen monitor is unplugged: the compositor's preferred output, sized by the
    // first one when which it prefers is not known beforehand.
    const StripSurface::Output* sizedBy =
        chosen != outputs.end() ? &*chosen : (outputs.empty() ? nullptr : &outputs.front());
    const QSize size = sizedBy != nullptr && !sizedBy->size.isEmpty()
                           ? StripGeometry::frameFor(QRect(QPoint(0, 0), sizedBy->size)).size()
                           : QSize(StripGeometry::kMaxWidth, StripGeometry::kHeight);
    m_surface->place(chosen != outputs.end() ? chosen->name : QString(), size);
}

bool Strip::fullScreenWindowOn(const QScreen* screen) const {
    if (screen == nullptr || QGuiApplication::screens().isEmpty()) {
        return false;
    }
    const std::optional<std::vector<WindowEntry>> windows = m_windows.onScreenWindows();
    if (!windows || windows->empty()) {
        return false;
    }
    return StripGeometry::fullScreenWindowOn(screen->geometry(), *windows);
}

void Strip::applyVisibility() {
    if (m_surface != nullptr) {
        // The surface's layer decides whether full-screen windows cover it.
        m_surface->setShown(m_isShown);
        return;
    }
    const QScreen* screen = m_panel->isVisible() ? m_panel->screen() : targetScreen();
    // The window list is read only when its answer can hide the strip.
    m_fullScreenAppActive = m_hideInFullScreen && fullScreenWindowOn(screen);
    if (!m_isShown || m_fullScreenAppActive) {
        m_panel->hide();
        return;
    }
    if (!m_panel->isVisible()) {
        // A withdrawn window loses its desktop and states: they are given again before it maps.
        if (m_windowing != nullptr) {
            m_windowing->makePanel(m_panel->windowHandle());
        }
        m_panel->show();
        applyClickThrough();
        if (m_windowing != nullptr) {
            m_windowing->panelShown(m_panel->windowHandle());
        }
        // A window manager copies the input shape to its frame when it hears of a change; one made
        // before it has taken the window on (a busy openbox) is missed, and the frame then keeps
        // the clicks. Given again once the window manager has had the time.
        QTimer::singleShot(kFullScreenRecheckMs, this, [this] {
            QWindow* window = m_panel->windowHandle();
            if (window != nullptr && m_panel->isVisible() && m_clickThrough) {
                window->setFlag(Qt::WindowTransparentForInput, false);
                applyClickThrough();
            }
        });
    }
    if (m_windowing != nullptr) {
        // Window managers stack a focused full-screen window over every panel; kept in sight, the
        // strip has to be put back on top each time the stacking may have changed.
        m_windowing->keepAboveAll(m_panel->windowHandle(), !m_hideInFullScreen && fullScreenWindowOn(screen));
    }
}

void Strip::applyClickThrough() {
    if (m_surface != nullptr) {
        m_surface->setClickThrough(m_clickThrough);
        return;
    }
    // Only a shown window takes the input shape: set earlier, the window manager's frame swallows it,
    // and QWidget::setWindowFlag would unmap and remap the window.
    QWindow* window = m_panel->windowHandle();
    if (window == nullptr || !m_panel->isVisible()) {
        return;
    }
    window->setFlag(Qt::WindowTransparentForInput, m_clickThrough);
    if (m_windowing != nullptr) {
        m_windowing->makePanel(window); // Qt rewrote the window type with the flags
    }
}

void Strip::recheckSoon() {
    // Give a full-screen transition time to finish before the window list is read.
    QTimer::singleShot(kFullScreenRecheckMs, this, &Strip::applyVisibility);
}

} // namespace pipfield
