#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

namespace pipfield {

class Game;
class Strip;

/// The tray icon and its menu: the crate and the coins, selling, the management window, the two
/// strip switches and quitting. The icon turns to the fuller lemon while the crate is almost full.
class TrayMenu final : public QObject {
    Q_OBJECT

public:
    TrayMenu(Game& game, Strip& strip, std::function<void()> openManage, std::function<void()> quit,
             QObject* parent = nullptr);

    QMenu& menu() { return m_menu; }
    QSystemTrayIcon& icon() { return m_icon; }
    /// What the tray shows on hover, and what screen readers say: the icon's accessibility label.
    QString label() const;

    QAction& infoAction() { return *m_info; }
    QAction& sellAction() { return *m_sell; }
    QAction& manageAction() { return *m_manage; }
    QAction& clickThroughAction() { return *m_clickThrough; }
    QAction& stripShownAction() { return *m_stripShown; }
    QAction& quitAction() { return *m_quit; }

private:
    void refresh();
    void refreshIcon();

    Game& m_game;
    Strip& m_strip;
    QMenu m_menu;
    QSystemTrayIcon m_icon;
    QAction* m_info;
    QAction* m_sell;
    QAction* m_manage;
    QAction* m_clickThrough;
    QAction* m_stripShown;
    QAction* m_quit;
};

} // namespace pipfield
