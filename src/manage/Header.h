#pragma once

#include <QWidget>

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

private:
    void refresh();

    Game& m_game;
    Label* m_crateText;
    CrateGauge* m_gauge;
    CoinLabel* m_coins;
    CapsuleButton* m_sell;
};

} // namespace pipfield
