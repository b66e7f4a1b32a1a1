#include "manage/DyePicker.h"

#include "game/Texts.h"
#include "kit/TextStyle.h"
#include "manage/FocusRing.h"
#include "scene/Palette.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>

namespace pipfield {
namespace {

constexpr int kSwatch = 22;
constexpr int kRing = 3;
constexpr int kRingPen = 2;
// The ring's outer edge: the swatches sit edge to edge, so their circles are 2 × this (8) apart.
constexpr int kMargin = kRing + kRingPen / 2;

class Swatch final : public QAbstractButton {
public:
    Swatch(int index, DyePicker* picker) : QAbstractButton(picker), m_index(index), m_picker(picker) {
        setCheckable(true);
        setFixedSize(kSwatch + 2 * kMargin, kSwatch + 2 * kMargin);
        setCursor(Qt::PointingHandCursor);
        setToolTip(Palette::dyeName(index));
        setAccessibleName(Palette::dyeName(index));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        int step = 0;
        switch (event->key()) {
        case Qt::Key_Left:
            step = isRightToLeft() ? 1 : -1;
            break;
        case Qt::Key_Right:
            step = isRightToLeft() ? -1 : 1;
            break;
        case Qt::Key_Up:
            step = -1;
            break;
        case Qt::Key_Down:
            step = 1;
            break;
        default:
            QAbstractButton::keyPressEvent(event);
            return;
        }
        m_picker->step(step);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF circle(QPointF(kMargin, kMargin), QSizeF(kSwatch, kSwatch));
        const std::optional<double> hue = Palette::dyeHue(m_index);
        p.setPen(Qt::NoPen);
        if (hue) {
            p.setBrush(QColor::fromHsvF(static_cast<float>(*hue / 360.0), 0.7f, 0.85f, 1.0f));
            p.drawEllipse(circle);
        } else {
            p.setBrush(toneColor(palette(), Tone::quaternary));
            p.drawEllipse(circle);
            QFont f = styledFont(TextStyle::caption2, QFont::Bold);
            p.setFont(f);
            p.setPen(toneColor(palette(), Tone::secondary));
            p.drawText(circle, Qt::AlignCenter, QStringLiteral("↺"));
        }
        QPainterPath ring;
        ring.addEllipse(circle.adjusted(-kRing, -kRing, kRing, kRing));
        if (!drawFocusRing(p, *this, ring) && isChecked()) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(palette().color(QPalette::WindowText), kRingPen));
            p.drawPath(ring);
        }
    }

private:
    int m_index;
    DyePicker* m_picker;
};

} // namespace

DyePicker::DyePicker(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setAccessibleName(Texts::ui("옷 색"));
    for (int i = 0; i < static_cast<int>(Palette::dyeHues.size()); ++i) {
        auto* swatch = new Swatch(i, this);
        m_swatches.push_back(swatch);
        layout->addWidget(swatch);
        connect(swatch, &QAbstractButton::clicked, this, [this, i] { choose(i); });
    }
    layout->addStretch();
    setSelection(0);
}

void DyePicker::setSelection(std::int64_t index) {
    m_selection = index;
    // One Tab stop for the whole row: only the chosen swatch (or the first, when none is) takes focus
    // from the keyboard, and the arrow keys move within the row.
    const bool inRange = index >= 0 && index < static_cast<std::int64_t>(m_swatches.size());
    const std::size_t stop = inRange ? static_cast<std::size_t>(index) : 0;
    const bool hadFocus = focusedSwatch() >= 0;
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        m_swatches[i]->setChecked(static_cast<std::int64_t>(i) == index);
        m_swatches[i]->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::NoFocus);
    }
    if (hadFocus) {
        m_swatches[stop]->setFocus(Qt::OtherFocusReason);
    }
}

int DyePicker::focusedSwatch() const {
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        if (m_swatches[i]->hasFocus()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void DyePicker::choose(int index) {
    setSelection(index);
    Q_EMIT picked(index);
}

void DyePicker::step(int by) {
    const int count = static_cast<int>(m_swatches.size());
    const int from = focusedSwatch() >= 0 ? focusedSwatch() : static_cast<int>(std::max<std::int64_t>(0, m_selection));
    choose(((from + by) % count + count) % count);
}

} // namespace pipfield
