#include "manage/DyePicker.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>

#include "manage/TextStyle.h"
#include "scene/Palette.h"

namespace pipfield {
namespace {

constexpr int kSwatch = 22;
constexpr int kRing = 3;

class Swatch final : public QAbstractButton {
public:
    Swatch(int index, QWidget* parent) : QAbstractButton(parent), m_index(index) {
        setCheckable(true);
        setFixedSize(kSwatch + 2 * (kRing + 2), kSwatch + 2 * (kRing + 2));
        setCursor(Qt::PointingHandCursor);
        setToolTip(Palette::dyeName(index));
        setAccessibleName(Palette::dyeName(index));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF circle(QPointF(kRing + 2, kRing + 2), QSizeF(kSwatch, kSwatch));
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
        if (isChecked()) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(palette().color(QPalette::WindowText), 2));
            p.drawEllipse(circle.adjusted(-kRing, -kRing, kRing, kRing));
        }
    }

private:
    int m_index;
};

} // namespace

DyePicker::DyePicker(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8 - 2 * (kRing + 2)); // circles 8 apart; the rings may touch
    for (int i = 0; i < static_cast<int>(Palette::dyeHues.size()); ++i) {
        auto* swatch = new Swatch(i, this);
        m_swatches.push_back(swatch);
        layout->addWidget(swatch);
        connect(swatch, &QAbstractButton::clicked, this, [this, i] {
            setSelection(i);
            Q_EMIT picked(i);
        });
    }
    layout->addStretch();
    setSelection(0);
}

void DyePicker::setSelection(std::int64_t index) {
    m_selection = index;
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        m_swatches[i]->setChecked(static_cast<std::int64_t>(i) == index);
    }
}

} // namespace pipfield
