#include "app/PipfieldApp.h"

#include "app/AppModel.h"
#include "app/TrayHostWatcher.h"
#include "app/TrayMenu.h"
#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/SaveStore.h"
#include "game/SceneSettings.h"
#include "game/Texts.h"
#include "manage/Appearance.h"
#include "manage/ManageWindow.h"
#include "platform/DesktopLook.h"
#include "platform/DesktopNotifier.h"
#include "platform/LayerShellStrip.h"
#include "platform/Logging.h"
#include "platform/NoDesktop.h"
#include "platform/PowerSaverWatcher.h"
#include "platform/ScreenLockWatcher.h"
#include "platform/SingleInstance.h"
#include "platform/SleepWatcher.h"
#include "platform/SystemProcessLauncher.h"
#include "platform/X11Desktop.h"
#include "platform/X11PanelWindow.h"
#include "scene/Grade.h"
#include "scene/OrchardView.h"
#include "scene/Sprite.h"
#include "strip/SceneContent.h"
#include "strip/Strip.h"
#include "strip/StripPanel.h"

#include <QApplication>
#include <QDBusConnection>
#include <QShortcut>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolButton>

namespace pipfield {
namespace {

// A forced appearance: Fusion with a light or a dark palette, whatever the desktop uses. Only the
// exact values light and dark force anything.
bool forceAppearance(const QString& appearance) {
    const bool dark = appearance == SettingsValue::dark;
    if (!dark && appearance != SettingsValue::light) {
        return false;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(forcedPalette(dark));
    return true;
}

} // namespace

PipfieldApp::PipfieldApp(const QVariantMap& overrides, std::unique_ptr<LayerShellStrip> layerStrip, QObject* parent)
    : QObject(parent), m_defaults(std::make_unique<Defaults>(Defaults::standardFile(), overrides)),
      m_clock(std::make_unique<SystemClock>()), m_launcher(std::make_unique<SystemProcessLauncher>()),
      m_notifier(std::make_unique<DesktopNotifier>(QDBusConnection::sessionBus(), *m_launcher, *m_clock,
                                                   DesktopNotifier::HandOffTarget::forThisProgram())),
      m_store(std::make_unique<SaveStore>(SaveStore::standardPath())), m_layerStrip(std::move(layerStrip)) {
    AppModel::registerDefaults(*m_defaults);
    // Loading the save file, the catch-up, the first save and the first plan all happen here.
    m_game = std::make_unique<Game>(*m_defaults, *m_clock, *m_notifier, *m_store);
    m_sprites = std::make_unique<Sprite>();
    if (m_layerStrip) {
        m_sprites->setScale(m_layerStrip->scale());
    }
    m_look = new DesktopLook(this);
    m_game->sceneSettings().setDesktopReducesMotion(m_look->reduceMotion());
    connect(m_look, &DesktopLook::changed, this,
            [this] { m_game->sceneSettings().setDesktopReducesMotion(m_look->reduceMotion()); });
    // A forced appearance is set before any window exists, so everything starts in its colours.
    if (const std::optional<QString> appearance = m_defaults->string(SettingsKey::appearance)) {
        m_forcedAppearance = forceAppearance(*appearance);
    }

    if (X11Desktop* x11 = X11Desktop::create(this)) {
        m_events = x11;
        m_windows = x11;
        m_windowing = x11;
    } else {
        // A layer surface is placed and stacked by the compositor; without one, only X11 can keep the
        // strip at the screen's edge, above other windows and out of full-screen ones' way.
        if (!m_layerStrip) {
            qCWarning(lcDesktop).noquote() << "no X11 connection (Qt platform" << QGuiApplication::platformName()
                                           << "): the strip is an ordinary window that other windows can cover";
        }
        auto* none = new NoDesktop(this);
        m_events = none;
        m_windows = none;
    }
    if (!m_layerStrip) {
        // On X11 the strip paints its own window; Qt's would cost more than the orchard itself.
        std::unique_ptr<PanelWindow> window;
        if (m_windowing != nullptr) {
            window = X11PanelWindow::create();
        }
        m_panel = std::make_unique<StripPanel>(*m_windows, *m_events, m_windowing, std::move(window));
    }
    StripSurface& stripSurface = m_layerStrip ? static_cast<StripSurface&>(*m_layerStrip) : *m_panel;
    m_model = std::make_unique<AppModel>(*m_defaults, *m_game, stripSurface, [this](Game& game, StripSurface& surface) {
        OrchardViewSetup setup;
        setup.sprites = m_sprites.get();
        setup.dark = [this] { return darkAppearance(); };
        auto* view = new OrchardView(game, setup);
        connect(m_look, &DesktopLook::changed, view, &OrchardView::appearanceChanged);
        return sceneContent(*view, surface);
    });
    m_model->strip();
    m_model->openManage = [this] { manageWindow().present(); };

    // A tray that is not there yet may appear later and pick the icon up; until then the window is
    // the way in.
    m_tray = std::make_unique<TrayMenu>(*m_game, m_model->strip(), m_model->openManage, [this] { quit(); });
    m_tray->icon().show();
    auto* trayHosts = new TrayHostWatcher(
        QDBusConnection::sessionBus(), [] { return QSystemTrayIcon::isSystemTrayAvailable(); }, this);
    connect(trayHosts, &TrayHostWatcher::hostAppeared, this, [this] {
        qCInfo(lcDesktop) << "a tray host came up after the start; starting anew to show the icon in it";
        m_game->save();
        Q_EMIT restartRequested();
    });
    if (m_model->showManageAtLaunch() || !QSystemTrayIcon::isSystemTrayAvailable()) {
        manageWindow().present();
    }
}

PipfieldApp::~PipfieldApp() = default;

ManageWindow& PipfieldApp::manageWindow() {
    if (!m_manage) {
        ManageServices services;
        services.sprites = m_sprites.get();
        m_manage = std::make_unique<ManageWindow>(*m_game, m_model->strip(), *m_defaults, nullptr, services);
        // The tray menu's keys work in the window too (its header has Ctrl+S already).
        auto* quitKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), m_manage.get());
        connect(quitKey, &QShortcut::activated, this, &PipfieldApp::quit);
        auto* openKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), m_manage.get());
        connect(openKey, &QShortcut::activated, this, [this] { m_manage->present(); });
        // Without a tray (GNOME has none unless an extension adds one) the window is the only way
        // out, so it carries a quit button beside its tabs.
        m_quitButton = new QToolButton(m_manage->tabs());
        m_quitButton->setText(Texts::ui("종료"));
        m_quitButton->setToolTip(QKeySequence(Qt::CTRL | Qt::Key_Q).toString(QKeySequence::NativeText));
        m_quitButton->setAutoRaise(true);
        m_quitButton->setIcon(QIcon::fromTheme(QStringLiteral("application-exit")));
        m_quitButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        connect(m_quitButton, &QToolButton::clicked, this, &PipfieldApp::quit);
        m_manage->tabs()->setCornerWidget(m_quitButton, Qt::TopRightCorner);
    }
    m_quitButton->setVisible(!QSystemTrayIcon::isSystemTrayAvailable());
    return *m_manage;
}

void PipfieldApp::finishLaunching() {
    m_game->start();
    m_model->strip();
    m_defaults->setValue(SettingsKey::hasLaunched, true);
    m_sleep = new SleepWatcher(Texts::ui("과수원을 저장해요"), this);
    connect(m_sleep, &SleepWatcher::aboutToSleep, this, [this] { m_game->save(); });
    // Both answer later, when their services do; until then the strip lives as usual.
    auto* lock = new ScreenLockWatcher(QDBusConnection::sessionBus(), QDBusConnection::systemBus(), this);
    connect(lock, &ScreenLockWatcher::lockedChanged, &m_model->strip(), &Strip::setSessionLocked);
    auto* power = new PowerSaverWatcher(QDBusConnection::sessionBus(), QDBusConnection::systemBus(), this);
    connect(power, &PowerSaverWatcher::powerSaverChanged, &m_game->sceneSettings(),
            &SceneSettings::setDesktopPowerSaver);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        m_game->save();
        m_notifier->handOff();
    });
}

bool PipfieldApp::darkAppearance() const {
    const bool paletteDark = looksDark(QApplication::palette());
    if (m_forcedAppearance) {
        return paletteDark;
    }
    return m_look->prefersDark().value_or(paletteDark);
}

void PipfieldApp::reopen() {
    if (m_model->openManage) {
        m_model->openManage();
    }
}

void PipfieldApp::quit() {
    m_game->save();
    QCoreApplication::quit();
}

} // namespace pipfield
