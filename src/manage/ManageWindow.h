#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QTabWidget;

namespace pipfield {

class Defaults;
class Game;
class Header;
class LoginItem;
class SaveDialog;
class Sprite;
class Strip;

/// What the window asks of the desktop. Anything left empty is made from the real desktop.
struct ManageServices {
    /// The art; the images compiled into the program when null.
    Sprite* sprites = nullptr;
    /// Start at login; the XDG autostart entry when null.
    LoginItem* loginItem = nullptr;
    /// Where the weekly card is saved; a PNG file dialog when null.
    SaveDialog* saveDialog = nullptr;
    /// Opens the desktop's notification settings; the first settings program found when empty.
    std::function<void()> openNotificationSettings;
};

/// The management window "과수원 관리": where purchases are made and the program is configured.
class ManageWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTabCount = 6;

    ManageWindow(Game& game, Strip& strip, Defaults& defaults, QWidget* parent = nullptr, ManageServices services = {});
    ~ManageWindow() override;

    /// Shows the window, brings it to the front and gives it focus.
    void present();

    /// The whole window with the given tab selected, drawn off screen; the player's tab stays chosen.
    QImage renderTab(int index);

    QTabWidget* tabs() const { return m_tabs; }
    Header* header() const { return m_header; }

private:
    Game& m_game;
    Strip& m_strip;
    Defaults& m_defaults;
    std::unique_ptr<Sprite> m_ownSprites;
    std::unique_ptr<LoginItem> m_ownLoginItem;
    std::unique_ptr<SaveDialog> m_ownSaveDialog;
    Header* m_header;
    QTabWidget* m_tabs;
};

} // namespace pipfield
