#pragma once

#include <QWidget>

#include "card/WeeklyCard.h"

class QPushButton;

namespace pipfield {

class Game;
class SaveDialog;
class Sprite;
class WeeksChart;

/// The record tab: this week's card, saved as a picture or copied to the clipboard.
class RecordTab : public QWidget {
    Q_OBJECT

public:
    RecordTab(Game& game, Sprite& sprites, SaveDialog& dialog, QWidget* parent = nullptr);

    const WeeklyCard& card() const { return m_card; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* copyButton() const { return m_copy; }
    WeeksChart* chart() const { return m_chart; }

private:
    void refresh();

    Game& m_game;
    Sprite& m_sprites;
    SaveDialog& m_dialog;
    WeeklyCard m_card;
    QWidget* m_view;
    QPushButton* m_save;
    QPushButton* m_copy;
    WeeksChart* m_chart;
};

} // namespace pipfield
