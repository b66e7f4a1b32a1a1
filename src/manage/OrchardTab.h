#pragma once

#include "model/Balance.h"
#include "model/Tree.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QAction;
class QToolButton;
class QVBoxLayout;

namespace pipfield {

class BuyButton;
class Game;
class Label;
class Sprite;
class SpriteView;

/// One tree kind in the planting list: its numbers, how many are planted, and plant or unlock.
class KindRow : public QWidget {
    Q_OBJECT

public:
    KindRow(Game& game, Sprite& sprites, TreeKind kind, QWidget* parent = nullptr);

    BuyButton* button() const { return m_button; }
    Label* countLabel() const { return m_count; }

private:
    void refresh();

    Game& m_game;
    TreeKind m_kind;
    Label* m_count;
    BuyButton* m_button;
};

/// One planted plot: number, kind, growth and the replant menu.
class PlotRow : public QWidget {
    Q_OBJECT

public:
    PlotRow(Game& game, Sprite& sprites, std::int64_t index, QWidget* parent = nullptr);

    void setTree(const Tree& tree);
    QToolButton* replantButton() const { return m_replant; }
    /// The kinds the plot can be replanted with, in catalog order.
    QList<QAction*> replantItems() const;
    Label* statusLabel() const { return m_status; }

    /// The plot's state: growing (with its percentage), bearing fruit, or ripening the next one.
    static QString status(const Tree& tree);

private:
    void rebuildMenu();
    void refreshMenu();

    Game& m_game;
    std::int64_t m_index;
    Tree m_tree;
    bool m_hasTree = false;
    SpriteView* m_icon;
    Label* m_name;
    Label* m_status;
    QToolButton* m_replant;
};

/// The orchard tab: plant and unlock kinds, replant plots, enlarge the crate.
class OrchardTab : public QWidget {
    Q_OBJECT

public:
    OrchardTab(Game& game, Sprite& sprites, QWidget* parent = nullptr);

    const std::vector<KindRow*>& kindRows() const { return m_kinds; }
    const std::vector<PlotRow*>& plotRows() const { return m_plots; }
    Label* fieldFooter() const { return m_footer; }
    BuyButton* crateButton() const { return m_crateButton; }
    Label* nextCrateLabel() const { return m_nextCrate; }

private:
    void refresh();

    Game& m_game;
    Sprite& m_sprites;
    std::vector<KindRow*> m_kinds;
    std::vector<PlotRow*> m_plots;
    QVBoxLayout* m_plotLayout;
    Label* m_footer;
    Label* m_crateLevel;
    Label* m_nextCrate;
    BuyButton* m_crateButton;
};

} // namespace pipfield
