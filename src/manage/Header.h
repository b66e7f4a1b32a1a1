#pragma once

#include <QWidget>

class QLabel;

namespace pipfield {

class CapsuleButton;
class CoinLabel;
class CrateGauge;
class Game;
class Label;
class Sprite;
class SpriteView;

/// The top of the management window: key art, the crate and its gauge, the coins and the sell button.
class Header : public QWidget {
    Q_OBJECT

public:
    Header(Game& game, Sprite& sprites, QWidget* parent = nullptr);

    CrateGauge* gauge() const { return m_gauge; }
    CapsuleButton* sellButton() const { return m_sell; }
    CoinLabel* coins() const { return m_coins; }
    Label* crateText() const { return m_crateText; }
    /// What happened while the player was away, over the bottom of the key art until the next sale.
    QLabel* welcome() const { return m_welcome; }

private:
    void refresh();
    void refreshWelcome();

    Game& m_game;
    Label* m_crateText;
    CrateGauge* m_gauge;
    CoinLabel* m_coins;
    CapsuleButton* m_sell;
    QLabel* m_welcome;
};

} // namespace pipfield
