#pragma once

#include "card/WeeklyCard.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
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
    /// Makes the card's picture; null when the card cannot be rendered.
    using Renderer = std::function<QImage(const WeeklyCard&)>;

    /// `render` defaults to the card's own rendering at the export scale.
    RecordTab(Game& game, Sprite& sprites, SaveDialog& dialog, QWidget* parent = nullptr, Renderer render = {});

    const WeeklyCard& card() const { return m_card; }
    QPushButton* saveButton() const { return m_save; }
    /// The stand-in for sharing: copies the picture. Offered only while the card renders.
    QPushButton* copyButton() const { return m_copy; }
    WeeksChart* chart() const { return m_chart; }
    /// Why the last export failed; hidden after a save or a cancel.
    QLabel* exportFailure() const { return m_exportFailure; }

private:
    void exportCard();
    void refresh();

    Game& m_game;
    Sprite& m_sprites;
    SaveDialog& m_dialog;
    Renderer m_render;
    WeeklyCard m_card;
    QImage m_picture;
    bool m_rendered = false;
    QWidget* m_view;
    QPushButton* m_save;
    QPushButton* m_copy;
    QLabel* m_exportFailure;
    WeeksChart* m_chart;
};

} // namespace pipfield
