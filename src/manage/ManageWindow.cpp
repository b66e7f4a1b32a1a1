#include "manage/ManageWindow.h"

#include "card/FileSaveDialog.h"
#include "game/Defaults.h"
#include "game/Game.h"
#include "game/Texts.h"
#include "manage/DesktopSettings.h"
#include "manage/DexTab.h"
#include "manage/Header.h"
#include "manage/OrchardTab.h"
#include "manage/RecordTab.h"
#include "manage/SettingsTab.h"
#include "manage/StyleTab.h"
#include "manage/Symbols.h"
#include "manage/WorkersTab.h"
#include "platform/XdgAutostart.h"
#include "scene/Palette.h"
#include "scene/Sprite.h"

#include <QCoreApplication>
#include <QIcon>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pipfield {

ManageWindow::ManageWindow(Game& game, Strip& strip, Defaults& defaults, QWidget* parent, ManageServices services)
    : QWidget(parent, Qt::Window), m_game(game), m_strip(strip), m_defaults(defaults) {
    setWindowTitle(Texts::ui("과수원 관리"));
    setFixedSize(600, 700);

    Sprite* sprites = services.sprites;
    if (sprites == nullptr) {
        m_ownSprites = std::make_unique<Sprite>(Sprite::bundled(), &Palette::dyeColors());
        sprites = m_ownSprites.get();
    }
    LoginItem* loginItem = services.loginItem;
    if (loginItem == nullptr) {
        m_ownLoginItem = std::make_unique<XdgAutostart>(Texts::ui("%1 폴더를 만들 수 없어요."));
        loginItem = m_ownLoginItem.get();
    }
    SaveDialog* saveDialog = services.saveDialog;
    if (saveDialog == nullptr) {
        m_ownSaveDialog = std::make_unique<FileSaveDialog>();
        saveDialog = m_ownSaveDialog.get();
    }
    std::function<void()> openNotificationSettings = services.openNotificationSettings
                                                         ? std::move(services.openNotificationSettings)
                                                         : std::function<void()>(openDesktopNotificationSettings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new Header(game, *sprites, this);
    layout->addWidget(m_header);
    layout->addSpacing(8);

    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(true);
    // No freedesktop name means an orchard tree, so that tab always has our own.
    Sprite& art = *sprites;
    m_tabs->addTab(new OrchardTab(game, art), ownIcon(art, QStringLiteral("icon-tree")), Texts::ui("과수원"));
    m_tabs->addTab(new WorkersTab(game, art), symbolIcon(art, {"system-users"}, QStringLiteral("icon-people")),
                   Texts::ui("일꾼"));
    m_tabs->addTab(new StyleTab(game, art),
                   symbolIcon(art, {"preferences-desktop-color"}, QStringLiteral("icon-palette")), Texts::ui("꾸미기"));
    m_tabs->addTab(new DexTab(game, art), symbolIcon(art, {"accessories-dictionary"}, QStringLiteral("icon-book")),
                   Texts::ui("도감"));
    m_tabs->addTab(new RecordTab(game, art, *saveDialog),
                   symbolIcon(art, {"x-office-calendar", "office-calendar"}, QStringLiteral("icon-calendar")),
                   Texts::ui("기록"));
    m_tabs->addTab(new SettingsTab(game, strip, *loginItem, std::move(openNotificationSettings)),
                   symbolIcon(art, {"preferences-system", "emblem-system"}, QStringLiteral("icon-gear")),
                   Texts::ui("설정"));
    layout->addWidget(m_tabs, 1);

    const auto stored = m_defaults.integer(SettingsKey::manageTab);
    m_tabs->setCurrentIndex(stored >= 0 && stored < kTabCount ? static_cast<int>(stored) : 0);
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { m_defaults.setValue(SettingsKey::manageTab, static_cast<qlonglong>(index)); });
}

ManageWindow::~ManageWindow() = default;

void ManageWindow::present() {
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

QImage ManageWindow::renderTab(int index) {
    const int chosen = m_tabs->currentIndex();
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    ensurePolished();
    if (!isVisible()) {
        setAttribute(Qt::WA_DontShowOnScreen, true);
        show();
    }
    const QImage image = grab().toImage();
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(chosen);
    }
    return image;
}

} // namespace pipfield
