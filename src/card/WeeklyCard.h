#pragma once

#include "game/Clock.h"
#include "model/Totals.h"

#include <QImage>
#include <QLocale>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;
class QWidget;

namespace pipfield {

class SaveDialog;
class Sprite;

/// The picture of one week's record: key art, the week's dates and four counters.
struct WeeklyCard {
    Totals stats;
    Instant weekStart;

    /// The card's size in points; it is exported at twice that.
    static constexpr QSize kSize{600, 380};
    static constexpr double kExportScale = 2.0;

    /// The first and the seventh day of the week, abbreviated month and day, joined by an en dash.
    QString range(const QLocale& locale = QLocale()) const;
    /// "Pipfield-" and the week's ISO key, for example "Pipfield-2026-W14.png".
    QString fileName() const;

    /// Draws the card at the painter's origin in points, always in light colours.
    void paint(QPainter& painter, Sprite& sprites) const;
    /// The card as a bitmap `scale` times its point size; null when it cannot be made.
    QImage render(Sprite& sprites, double scale = kExportScale) const;

    /// Renders the card, asks where to store it and writes the PNG there, whole or not at all: a file
    /// already there stays as it was when the new one cannot be written. Nothing when the card was
    /// written or the player cancelled; else why it could not be, also logged.
    static std::optional<QString> save(const WeeklyCard& card, Sprite& sprites, SaveDialog& dialog, QWidget* parent);
};

} // namespace pipfield
