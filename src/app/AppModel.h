#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace pipfield {

class Defaults;
class DesktopEvents;
class Game;
class PanelWindowing;
class Strip;
class StripSurface;
class WindowList;

/// The application-wide objects: the one game and, once asked for, the one strip.
class AppModel final : public QObject {
    Q_OBJECT

public:
    /// Builds the scene shown in the strip.
    using ViewFactory = std::function<QWidget*(Game& game)>;

    AppModel(Defaults& defaults, Game& game, const WindowList& windows, DesktopEvents& events,
             const PanelWindowing* windowing, ViewFactory makeView, StripSurface* stripSurface = nullptr,
             QObject* parent = nullptr);
    ~AppModel() override;

    /// Registers the settings' defaults, and remembers a tray position the first time.
    static void registerDefaults(Defaults& defaults);

    Game& game() const { return m_game; }
    /// The strip, built by the first call (the application makes it while starting) and kept for the
    /// life of the program.
    Strip& strip();
    /// True on the very first launch, else the "showManage" setting.
    bool showManageAtLaunch() const { return m_showManageAtLaunch; }

    /// Opens the management window and brings it forward; set by whoever owns the window.
    std::function<void()> openManage;

private:
    Defaults& m_defaults;
    Game& m_game;
    const WindowList& m_windows;
    DesktopEvents& m_events;
    const PanelWindowing* m_windowing;
    ViewFactory m_makeView;
    StripSurface* m_stripSurface;
    std::unique_ptr<Strip> m_strip;
    bool m_showManageAtLaunch;
};

} // namespace pipfield
