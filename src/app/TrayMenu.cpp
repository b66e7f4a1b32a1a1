#include "app/TrayMenu.h"

#include "game/Game.h"
#include "game/Texts.h"
#include "scene/ArtResources.h"
#include "strip/Strip.h"

#include <QCoreApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <vector>

namespace pipfield {
namespace {

// Pixel art stays square: the lemon is enlarged by whole multiples only, never smoothed.
QIcon pixelIcon(const QString& name) {
    initArtResources();
    const QPixmap source(QStringLiteral(":/art/%1.png").arg(name));
    QIcon icon;
    if (source.isNull()) {
        return icon;
    }
    for (int size : {16, 22, 24, 32, 48, 64}) {
        const int longest = std::max(source.width(), source.height());
        // Smaller than the art (a 16-pixel panel), the whole lemon is shrunk to fit, still without
        // smoothing, rather than cut at the edges.
        const int multiple = size / longest;
        const QSize target = size < longest ? QSize(size, size) : source.size() * multiple;
        const QPixmap scaled = source.scaled(target, Qt::KeepAspectRatio, Qt::FastTransformation);
        QPixmap canvas(size, size);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawPixmap((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
        painter.end();
        icon.addPixmap(canvas);
    }
    return icon;
}

} // namespace

TrayMenu::TrayMenu(Game& game, Strip& strip, std::function<void()> openManage, std::function<void()> quit,
                   QObject* parent)
    : QObject(parent), m_game(game), m_strip(strip) {
    m_info = m_menu.addAction(QString());
    m_info->setEnabled(false);
    m_sell = m_menu.addAction(QString());
    m_sell->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_sell, &QAction::triggered, this, [this] { m_game.sellAll(); });
    m_menu.addSeparator();
    m_manage = m_menu.addAction(Texts::ui("과수원 관리…"));
    m_manage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_manage, &QAction::triggered, this, [openManage] { openManage(); });
    m_clickThrough = m_menu.addAction(Texts::ui("클릭 통과"));
    m_clickThrough->setCheckable(true);
    connect(m_clickThrough, &QAction::toggled, &m_strip, &Strip::setClickThrough);
    m_stripShown = m_menu.addAction(Texts::ui("과수원 띠 보이기"));
    m_stripShown->setCheckable(true);
    connect(m_stripShown, &QAction::toggled, &m_strip, &Strip::setShown);
    m_menu.addSeparator();
    m_quit = m_menu.addAction(Texts::ui("종료"));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(m_quit, &QAction::triggered, this, [this, quit] {
        m_game.save();
        quit();
    });
    for (QAction* action : m_menu.actions()) {
        action->setShortcutVisibleInContextMenu(true);
    }

    connect(&m_game, &Game::orchardChanged, this, &TrayMenu::refresh);
    connect(&m_game, &Game::seasonChanged, this, &TrayMenu::refresh);
    connect(&m_game, &Game::crateAlmostFullChanged, this, &TrayMenu::refreshIcon);
    connect(&m_strip, &Strip::clickThroughChanged, this, &TrayMenu::refresh);
    connect(&m_strip, &Strip::isShownChanged, this, &TrayMenu::refresh);
    // Opening from the tray icon itself: a left click brings up the window, as in most trays.
    connect(&m_icon, &QSystemTrayIcon::activated, this, [openManage](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            openManage();
        }
    });

    m_icon.setContextMenu(&m_menu);
    refresh();
    refreshIcon();
}

QString TrayMenu::label() const {
    return m_game.crateAlmostFull() ? Texts::ui("창고가 거의 찼어요") : Texts::ui("핍필드");
}

void TrayMenu::refresh() {
    const Orchard& o = m_game.orchard();
    m_info->setText(Texts::ui("창고 %1/%2 · 코인 %3", o.crateCount(), o.crateCapacity(), o.coins));
    m_sell->setText(Texts::ui("모두 팔기 (+%1)", o.crateValue(m_game.season())));
    m_sell->setEnabled(o.crateCount() != 0);
    const QSignalBlocker clickBlocker(m_clickThrough);
    m_clickThrough->setChecked(m_strip.clickThrough());
    const QSignalBlocker shownBlocker(m_stripShown);
    m_stripShown->setChecked(m_strip.isShown());
}

void TrayMenu::refreshIcon() {
    m_icon.setIcon(pixelIcon(m_game.crateAlmostFull() ? QStringLiteral("MenuLemonFull") : QStringLiteral("MenuLemon")));
    m_icon.setToolTip(label());
}

} // namespace pipfield
