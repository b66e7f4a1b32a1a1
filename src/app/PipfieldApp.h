#pragma once

#include <QObject>
#include <QVariantMap>

#include <memory>

class QToolButton;

namespace pipfield {

class AppModel;
class Defaults;
class DesktopEvents;
class DesktopLook;
class DesktopNotifier;
class Game;
class LayerShellStrip;
class ManageWindow;
class PanelWindowing;
class SaveStore;
class SleepWatcher;
class Sprite;
class StripPanel;
class SystemClock;
class SystemProcessLauncher;
class TrayMenu;
class WindowList;

/// The running program: builds the game, the strip, the tray menu and the management window in the
/// order the start-up needs, and saves on every way out (quit, logout, sleep).
class PipfieldApp final : public QObject {
    Q_OBJECT

public:
    /// With a `layerStrip` the strip is a layer surface of the Wayland compositor.
    explicit PipfieldApp(const QVariantMap& overrides, std::unique_ptr<LayerShellStrip> layerStrip = nullptr,
                         QObject* parent = nullptr);
    ~PipfieldApp() override;

    /// What happens once the event loop is about to run: the clock starts and the strip appears.
    void finishLaunching();
    /// Another launch asked for the game: show the management window.
    void reopen();
    /// Saves and ends the program.
    void quit();

    AppModel& model() const { return *m_model; }
    Game& game() const { return *m_game; }
    ManageWindow& manageWindow();

Q_SIGNALS:
    /// The game has saved and wants to be started anew once this process has ended (a tray host
    /// came up that only a new process can show the icon in).
    void restartRequested();

private:
    bool darkAppearance() const;

    std::unique_ptr<Defaults> m_defaults;
    std::unique_ptr<SystemClock> m_clock;
    std::unique_ptr<SystemProcessLauncher> m_launcher;
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::unique_ptr<SaveStore> m_store;
    std::unique_ptr<Game> m_game;
    // One set of images for the strip and the window alike.
    std::unique_ptr<Sprite> m_sprites;
    DesktopEvents* m_events = nullptr; // owned through QObject parenting
    const WindowList* m_windows = nullptr;
    const PanelWindowing* m_windowing = nullptr;
    // What shows the strip: the compositor's layer surface, else a panel window.
    std::unique_ptr<LayerShellStrip> m_layerStrip;
    std::unique_ptr<StripPanel> m_panel;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<ManageWindow> m_manage;
    std::unique_ptr<TrayMenu> m_tray;
    QToolButton* m_quitButton = nullptr; // owned by the window
    SleepWatcher* m_sleep = nullptr;
    DesktopLook* m_look = nullptr;
    bool m_forcedAppearance = false;
};

} // namespace pipfield
