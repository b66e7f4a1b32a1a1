#include "manage/CrateGauge.h"

#include "game/Texts.h"
#include "kit/TextStyle.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace pipfield {

CrateGauge::CrateGauge(QWidget* parent) : QWidget(parent) {
    setFixedHeight(8);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(Texts::ui("창고"));
    setFill(0, 0);
}

void CrateGauge::setFill(std::int64_t count, std::int64_t capacity) {
    m_count = count;
    m_capacity = capacity;
    setAccessibleDescription(Texts::ui("%1개 중 %2개", capacity, count));
    update();
}

double CrateGauge::fraction() const {
    // A crate over its capacity (a smaller crate in a hand-edited file) still draws within the track.
    if (m_capacity <= 0) {
        return m_count > 0 ? 1.0 : 0.0;
    }
    return std::clamp(static_cast<double>(m_count) / static_cast<double>(m_capacity), 0.0, 1.0);
}

void CrateGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track(rect());
    const double r = track.height() / 2;
    QPainterPath back;
    back.addRoundedRect(track, r, r);
    p.fillPath(back, toneColor(palette(), Tone::quaternary));
    const double w = track.width() * fraction();
    if (w > 0) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(track.topLeft(), QSizeF(std::max(w, track.height()), track.height())), r, r);
        p.fillPath(bar.intersected(back), leafColor());
    }
}

} // namespace pipfield
