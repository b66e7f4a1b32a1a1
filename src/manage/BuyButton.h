#pragma once

#include "model/Purchase.h"

#include <QPushButton>

#include <cstdint>
#include <optional>

namespace pipfield {

class Game;
class Sprite;
struct Orchard;

/// A button for one purchase: its title and price, disabled while the purchase is impossible or
/// unaffordable, with the reason as its tooltip. Pressing it buys through the game.
class BuyButton : public QPushButton {
    Q_OBJECT

public:
    BuyButton(Game& game, Sprite& sprites, const Purchase& purchase, const QString& title, QWidget* parent = nullptr);

    /// Switches to another purchase, for rows whose offer changes (plant or unlock, hire or level up).
    void setPurchase(const Purchase& purchase, const QString& title);
    const Purchase& purchase() const { return m_purchase; }
    const QString& title() const { return m_title; }
    /// The price shown, nothing when the purchase is not available.
    std::optional<std::int64_t> price() const { return m_price; }

    /// Why the purchase can or cannot be made now, given its price in this orchard.
    static QString reason(const Orchard& orchard, const Purchase& purchase, std::optional<std::int64_t> price);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    QString priceText() const;
    QSize contentSize() const;

    Game& m_game;
    Sprite& m_sprites;
    Purchase m_purchase;
    QString m_title;
    std::optional<std::int64_t> m_price;
};

} // namespace pipfield
