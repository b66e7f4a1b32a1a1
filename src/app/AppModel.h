#pragma once

#include "strip/StripSurface.h"

#include <QObject>

#include <functional>
#include <memory>

namespace pipfield {

class Defaults;
class Game;
class Strip;

/// The application-wide objects: the one game and, once asked for, the one strip.
class AppModel final : public QObject {
    Q_OBJECT

public:
    /// Builds the scene shown in the strip, for the surface that shows it.
    using ViewFactory = std::function<StripSurface::Content(Game& game, StripSurface& surface)>;

    /// `stripSurface` shows the strip and must outlive the model.
    AppModel(Defaults& defaults, Game& game, StripSurface& stripSurface, ViewFactory makeView,
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
    StripSurface& m_stripSurface;
    ViewFactory m_makeView;
    std::unique_ptr<Strip> m_strip;
    bool m_showManageAtLaunch;
};

} // namespace pipfield
