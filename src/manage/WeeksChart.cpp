#include "manage/WeeksChart.h"

#include "game/Texts.h"
#include "kit/TextStyle.h"
#include "scene/Sprite.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pipfield {
namespace {

constexpr int kLegendHeight = 20;
constexpr int kLabelHeight = 20;
constexpr int kBarWidth = 14;
constexpr int kBarGap = 4;
const QColor kOutline(58, 42, 26);

// A bar as the art draws its boxes: an ink rim one art pixel wide and a lighter left edge.
void drawBar(QPainter& p, const QRect& bar, const QColor& fill) {
    if (bar.height() <= 0) {
        return;
    }
    const int u = WeeksChart::kUnit;
    p.fillRect(bar, kOutline);
    const QRect inside = bar.adjusted(u, u, -u, 0);
    if (inside.height() > 0) {
        p.fillRect(inside, fill);
        p.fillRect(QRect(inside.left(), inside.top(), u, inside.height()), fill.lighter(125));
    }
}

QString weekLabel(const WeekRecord& week) {
    if (week.current) {
        return Texts::ui("이번 주");
    }
    return Texts::ui("%1주", week.key.mid(week.key.lastIndexOf(QLatin1Char('W')) + 1).toInt());
}

} // namespace

QColor fruitBarColor() {
    return QColor(246, 208, 60);
}

QColor coinBarColor() {
    return QColor(224, 132, 44);
}

WeeksChart::WeeksChart(Sprite& sprites, QWidget* parent) : QWidget(parent), m_sprites(sprites) {
    setFixedSize(480, kLegendHeight + kBarHeight + 2 * kUnit + 4 + kLabelHeight);
    setAccessibleName(Texts::ui("최근 8주 기록"));
}

void WeeksChart::setWeeks(std::vector<WeekRecord> weeks) {
    if (weeks == m_weeks) {
        return;
    }
    m_weeks = std::move(weeks);
    m_bestFruit = 0;
    m_bestCoins = 0;
    for (const WeekRecord& w : m_weeks) {
        if (w.done) {
            m_bestFruit = std::max(m_bestFruit, w.done->harvested);
            m_bestCoins = std::max(m_bestCoins, w.done->earned);
        }
    }
    update();
}

int WeeksChart::baseline() const {
    return kLegendHeight + kBarHeight + kUnit;
}

QRect WeeksChart::column(int index) const {
    const int w = width() / kWeeks;
    return QRect(index * w, kLegendHeight - 2, w, height() - kLegendHeight + 2);
}

int WeeksChart::barHeight(std::int64_t value, std::int64_t best) const {
    if (value <= 0 || best <= 0) {
        return 0;
    }
    // Whole art pixels, and never less than a rim and one pixel of fill for a week that did anything.
    const double share = static_cast<double>(value) / static_cast<double>(best);
    const int units = std::clamp(static_cast<int>(std::ceil(share * kBarHeight / kUnit)), 2, kBarHeight / kUnit);
    return units * kUnit;
}

QRect WeeksChart::fruitBar(int index) const {
    const WeekRecord* w = index >= 0 && index < static_cast<int>(m_weeks.size()) ? &m_weeks[index] : nullptr;
    const int h = w && w->done ? barHeight(w->done->harvested, m_bestFruit) : 0;
    const QRect c = column(index);
    return QRect(c.center().x() - kBarGap / 2 - kBarWidth + 1, baseline() - h, kBarWidth, h);
}

QRect WeeksChart::coinBar(int index) const {
    const WeekRecord* w = index >= 0 && index < static_cast<int>(m_weeks.size()) ? &m_weeks[index] : nullptr;
    const int h = w && w->done ? barHeight(w->done->earned, m_bestCoins) : 0;
    const QRect c = column(index);
    return QRect(c.center().x() + kBarGap / 2 + 1, baseline() - h, kBarWidth, h);
}

void WeeksChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor secondary = toneColor(palette(), Tone::secondary);
    const QColor tertiary = toneColor(palette(), Tone::tertiary);

    // Legend: what each colour counts.
    const QFont caption = styledFont(TextStyle::caption);
    p.setFont(caption);
    int x = 0;
    const auto legend = [&](const QColor& color, const QString& icon, const QString& text) {
        p.fillRect(QRect(x, 5, 10, 10), kOutline);
        p.fillRect(QRect(x + kUnit, 5 + kUnit, 10 - 2 * kUnit, 10 - 2 * kUnit), color);
        x += 14;
        if (const std::optional<QImage> image = m_sprites.image(icon, std::nullopt, Grading::asIs)) {
            p.drawImage(QRect(x, 10 - image->height() / 2, image->width(), image->height()), *image);
            x += image->width() + 3;
        }
        p.setPen(secondary);
        const int w = p.fontMetrics().horizontalAdvance(text);
        p.drawText(QRect(x, 0, w + 2, kLegendHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += w + 16;
    };
    legend(fruitBarColor(), QStringLiteral("ui-fruit-eureka"), Texts::ui("딴 열매"));
    legend(coinBarColor(), QStringLiteral("ui-coin"), Texts::ui("번 코인"));

    const QFont bold = styledFont(TextStyle::caption, QFont::Bold);
    for (int i = 0; i < static_cast<int>(m_weeks.size()) && i < kWeeks; ++i) {
        const WeekRecord& week = m_weeks[i];
        const QRect c = column(i);
        if (week.current) {
            QColor mark = leafColor();
            mark.setAlpha(48);
            p.fillRect(c.adjusted(4, 0, -4, 0), mark);
        }
        drawBar(p, fruitBar(i), fruitBarColor());
        drawBar(p, coinBar(i), coinBarColor());
        p.setFont(week.current ? bold : caption);
        p.setPen(week.current ? palette().color(QPalette::WindowText) : week.done ? secondary : tertiary);
        p.drawText(QRect(c.left(), baseline() + kUnit + 2, c.width(), kLabelHeight), Qt::AlignHCenter | Qt::AlignTop,
                   weekLabel(week));
    }
    p.fillRect(QRect(0, baseline(), width(), kUnit), tertiary);
}

} // namespace pipfield
