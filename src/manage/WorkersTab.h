#pragma once

#include "model/Catalog.h"
#include "model/WorkerLook.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QAbstractButton;
class QLineEdit;
class QPushButton;

namespace pipfield {

class BuyButton;
class CapsuleButton;
class DyePicker;
class Game;
class Label;
class Sprite;
class WorkerSprite;

/// The worker's gear, and what the next tier brings at which level.
class GearLine : public QWidget {
    Q_OBJECT

public:
    GearLine(Sprite& sprites, QWidget* parent = nullptr);

    void setGear(WorkerRole role, const WorkerLook& look, int tier);
    Label* nextLabel() const { return m_next; }

private:
    Label* m_name;
    Label* m_arrow;
    WorkerSprite* m_preview;
    Label* m_next;
};

/// One role in the workers tab: who it is, what it does, its gear, hiring and levelling.
class WorkerRow : public QWidget {
    Q_OBJECT

public:
    WorkerRow(Game& game, Sprite& sprites, WorkerRole role, std::function<void()> hire, QWidget* parent = nullptr);

    Label* titleLabel() const { return m_title; }
    Label* levelLabel() const { return m_level; }
    Label* effectLabel() const { return m_effect; }
    GearLine* gearLine() const { return m_gear; }
    QWidget* partnerRow() const { return m_partnerRow; }
    Label* partnerLabel() const { return m_partner; }
    BuyButton* buyButton() const { return m_buy; }
    QPushButton* moreButton() const { return m_more; }
    WorkerSprite* sprite() const { return m_sprite; }

private:
    void refresh();

    Game& m_game;
    WorkerRole m_role;
    WorkerSprite* m_sprite;
    Label* m_title;
    Label* m_roleName;
    Label* m_level;
    Label* m_effect;
    GearLine* m_gear;
    QWidget* m_partnerRow;
    WorkerSprite* m_partnerSprite;
    Label* m_partner;
    BuyButton* m_buy;
    QPushButton* m_more;
};

/// Chooses the second worker's look and hires it.
class HireSheet : public QDialog {
    Q_OBJECT

public:
    HireSheet(Game& game, Sprite& sprites, WorkerRole role, QWidget* parent = nullptr);

    WorkerRole role() const { return m_role; }
    QAbstractButton* variantCard(int variant) const { return m_cards.at(static_cast<std::size_t>(variant)); }
    DyePicker* dyePicker() const { return m_dye; }
    QLineEdit* nameField() const { return m_name; }
    CapsuleButton* hireButton() const { return m_hire; }
    QPushButton* cancelButton() const { return m_cancel; }
    WorkerSprite* preview() const { return m_preview; }
    /// The look as chosen so far, the name as typed.
    WorkerLook look() const;

    /// The name with the blanks (spaces and tabs) around it removed.
    static QString trimBlanks(const QString& name);

private:
    void setVariant(int variant);
    void refresh();
    void hire();

    Game& m_game;
    WorkerRole m_role;
    int m_variant = 1;
    std::array<QAbstractButton*, 2> m_cards{};
    WorkerSprite* m_preview;
    DyePicker* m_dye;
    QLineEdit* m_name;
    QPushButton* m_cancel;
    CapsuleButton* m_hire;
    Sprite& m_sprites;
};

/// The workers tab: the three roles, hiring and levelling them, and a second worker per role.
class WorkersTab : public QWidget {
    Q_OBJECT

public:
    WorkersTab(Game& game, Sprite& sprites, QWidget* parent = nullptr);

    WorkerRow* row(WorkerRole role) const { return m_rows.at(static_cast<std::size_t>(role)); }
    /// The open hire sheet, if any.
    HireSheet* sheet() const { return m_sheet; }

private:
    void openSheet(WorkerRole role);

    Game& m_game;
    Sprite& m_sprites;
    std::array<WorkerRow*, 3> m_rows{};
    HireSheet* m_sheet = nullptr;
};

} // namespace pipfield
