#pragma once

#include "game/WeekHistory.h"

#include <QWidget>

#include <vector>

namespace pipfield {

class Sprite;

/// The last weeks at a glance: per week a bar of fruit picked and a bar of coins earned, each scaled to
/// its own best week, drawn in hard pixels; the current week is marked and weeks without a record stay
/// empty.
class WeeksChart final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWeeks = 8;
    /// Bars are drawn in art pixels of this many points.
    static constexpr int kUnit = 2;
    /// The tallest bar, in points.
    static constexpr int kBarHeight = 44;

    explicit WeeksChart(Sprite& sprites, QWidget* parent = nullptr);

    void setWeeks(std::vector<WeekRecord> weeks);
    const std::vector<WeekRecord>& weeks() const { return m_weeks; }

    /// Where the bars of column `index` stand, for tests and for the painter alike.
    QRect fruitBar(int index) const;
    QRect coinBar(int index) const;
    int baseline() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int barHeight(std::int64_t value, std::int64_t best) const;
    QRect column(int index) const;

    Sprite& m_sprites;
    std::vector<WeekRecord> m_weeks;
    std::int64_t m_bestFruit = 0;
    std::int64_t m_bestCoins = 0;
};

/// Fill of the fruit bars and of the coin bars.
QColor fruitBarColor();
QColor coinBarColor();

} // namespace pipfield
