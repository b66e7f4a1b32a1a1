#pragma once

#include "model/Catalog.h"

#include <QWidget>

#include <array>
#include <cstdint>

namespace pipfield {

class Game;
class Label;
class Sprite;
class SpriteView;

/// One kind in the collection: the grown tree, or its silhouette while never planted.
class DexCell : public QWidget {
    Q_OBJECT

public:
    DexCell(Sprite& sprites, TreeKind kind, QWidget* parent = nullptr);

    void setState(bool planted, std::int64_t harvested, bool unlocked);
    Label* nameLabel() const { return m_name; }
    Label* lineLabel() const { return m_line; }
    SpriteView* tree() const { return m_tree; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TreeKind m_kind;
    SpriteView* m_tree;
    Label* m_name;
    Label* m_line;
};

/// The collection tab: every kind, what it has yielded, and what a locked one costs.
class DexTab : public QWidget {
    Q_OBJECT

public:
    DexTab(Game& game, Sprite& sprites, QWidget* parent = nullptr);

    Label* heading() const { return m_heading; }
    DexCell* cell(TreeKind kind) const { return m_cells.at(static_cast<std::size_t>(kindIndex(kind))); }

private:
    void refresh();

    Game& m_game;
    Label* m_heading;
    std::array<DexCell*, 12> m_cells{};
};

} // namespace pipfield
