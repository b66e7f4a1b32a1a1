#include "app/PipfieldApp.h"

#include <QApplication>
#include <QDBusConnection>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QSystemTrayIcon>

#include "app/AppModel.h"
#include "app/TrayMenu.h"
#include "game/Clock.h"
#include "game/Defaults.h"
#include "game/DesktopNotifier.h"
#include "game/Game.h"
#include "game/ProcessLauncher.h"
#include "game/SaveStore.h"
#include "manage/ManageWindow.h"
#include "platform/NoDesktop.h"
#include "platform/SingleInstance.h"
#include "platform/SleepWatcher.h"
#include "platform/X11Desktop.h"
#include "scene/OrchardView.h"
#include "scene/Sprite.h"
#include "strip/Strip.h"

namespace pipfield {
namespace {

// A forced appearance: Fusion with a light or a dark palette, whatever the desktop uses.
void forceAppearance(const QString& appearance) {
    const bool dark = appearance == QLatin1String("dark");
    if (!dark && appearance != QLatin1String("light")) {
        return;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = QApplication::style()->standardPalette();
    if (dark) {
        palette.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x30));
        palette.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
        palette.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
        palette.setColor(QPalette::AlternateBase, QColor(0x33, 0x35, 0x38));
        palette.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
        palette.setColor(QPalette::Button, QColor(0x3a, 0x3c, 0x40));
        palette.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
        palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3c, 0x40));
        palette.setColor(QPalette::ToolTipText, QColor(0xe8, 0xe8, 0xe8));
        palette.setColor(QPalette::Highlight, QColor(0x4f, 0x9d, 0x4a));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    }
    QApplication::setPalette(palette);
}

} // namespace

PipfieldApp::PipfieldApp(const QStringList& arguments, QObject* parent)
    : QObject(parent), m_defaults(std::make_unique<Defaults>(Defaults::standardFile(), arguments)),
      m_clock(std::make_unique<SystemClock>()), m_launcher(std::make_unique<SystemProcessLauncher>()),
      m_notifier(std::make_unique<DesktopNotifier>(QDBusConnection::sessionBus(), *m_launcher, *m_clock,
                                                   DesktopNotifier::HandOffTarget::forThisProgram())),
      m_store(std::make_unique<SaveStore>(SaveStore::standardPath())) {
    AppModel::registerDefaults(*m_defaults);
    // Loading the save file, the catch-up, the first save and the first plan all happen here.
    m_game = std::make_unique<Game>(*m_defaults, *m_clock, *m_notifier, *m_store);
    m_sprites = std::make_unique<Sprite>();

    if (X11Desktop* x11 = X11Desktop::create(this)) {
        m_events = x11;
        m_windows = x11;
        m_windowing = x11;
    } else {
        auto* none = new NoDesktop(this);
        m_events = none;
        m_windows = none;
    }
    m_model = std::make_unique<AppModel>(*m_defaults, *m_game, *m_windows, *m_events, m_windowing,
                                         [this](Game& game) -> QWidget* {
                                             OrchardViewSetup setup;
                                             setup.sprites = m_sprites.get();
                                             return new OrchardView(game, *m_defaults, setup);
                                         });
    connect(&m_model->strip(), &Strip::backingScaleChanged, this, [this] {
        if (auto* view = qobject_cast<OrchardView*>(m_model->strip().view())) {
            view->backingPropertiesChanged();
        }
    });
    m_model->openManage = [this] { manageWindow().present(); };

    // A tray that is not there yet may appear later and pick the icon up; until then the window is
    // the way in.
    m_tray = std::make_unique<TrayMenu>(*m_game, m_model->strip(), m_model->openManage, [this] { quit(); });
    m_tray->icon().show();
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
    }
    return *m_manage;
}

void PipfieldApp::finishLaunching() {
    m_game->start();
    m_model->strip();
    if (const std::optional<QString> appearance = m_defaults->string(QStringLiteral("appearance"))) {
        forceAppearance(*appearance);
    }
    m_defaults->setValue(QStringLiteral("hasLaunched"), true);
    m_sleep = new SleepWatcher(this);
    connect(m_sleep, &SleepWatcher::aboutToSleep, this, [this] { m_game->save(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        m_game->save();
        m_notifier->handOff();
    });
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
