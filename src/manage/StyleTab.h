#pragma once

#include "model/Catalog.h"

#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QVBoxLayout;

namespace pipfield {

class DyePicker;
class Game;
class Label;
class Sprite;
class WorkerSprite;
struct Orchard;

/// One hired worker's look: name, body and dye, each change saved at once.
class LookRow : public QWidget {
    Q_OBJECT

public:
    LookRow(Game& game, Sprite& sprites, WorkerRole role, std::int64_t slot, QWidget* parent = nullptr);

    WorkerRole role() const { return m_role; }
    std::int64_t slot() const { return m_slot; }
    QLineEdit* nameField() const { return m_name; }
    QButtonGroup* variants() const { return m_variants; }
    DyePicker* dyePicker() const { return m_dye; }
    WorkerSprite* sprite() const { return m_sprite; }

private:
    void refresh();
    template <typename Change>
    void change(Change&& edit);

    Game& m_game;
    WorkerRole m_role;
    std::int64_t m_slot;
    WorkerSprite* m_sprite;
    QLineEdit* m_name;
    QButtonGroup* m_variants;
    DyePicker* m_dye;
};

/// The style tab: the strip's theme and light, and every hired worker's look.
class StyleTab : public QWidget {
    Q_OBJECT

public:
    /// Theme and light are written through the game's scene settings.
    StyleTab(Game& game, Sprite& sprites, QWidget* parent = nullptr);

    QButtonGroup* themes() const { return m_themes; }
    QCheckBox* timeOfDay() const { return m_timeOfDay; }
    const std::vector<LookRow*>& lookRows() const { return m_rows; }
    Label* emptyNote() const { return m_empty; }

    /// The hired workers' slots in the order the tab lists them.
    static std::vector<std::pair<WorkerRole, std::int64_t>> hiredSlots(const Orchard& orchard);

private:
    void refresh();

    Game& m_game;
    Sprite& m_sprites;
    QButtonGroup* m_themes;
    QCheckBox* m_timeOfDay;
    QVBoxLayout* m_lookLayout;
    Label* m_empty;
    std::vector<LookRow*> m_rows;
    std::vector<std::pair<WorkerRole, std::int64_t>> m_slots;
};

} // namespace pipfield
