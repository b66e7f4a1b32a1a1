#include "manage/CapsuleButton.h"

#include "kit/PixelArt.h"
#include "kit/TabularDigits.h"
#include "kit/TextStyle.h"
#include "manage/FocusRing.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace pipfield {
namespace {

constexpr int kPadX = 16;
constexpr int kPadY = 9;
constexpr int kGap = 4;
const QSize kIconSize(14, 13);

} // namespace

CapsuleButton::CapsuleButton(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setFont(styledFont(TextStyle::headline));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleButton::setTrailing(const QImage& icon, const QString& text) {
    m_icon = icon;
    m_trailing = text;
    updateGeometry();
    update();
}

int CapsuleButton::contentWidth() const {
    const QFontMetrics fm(font());
    int w = fm.horizontalAdvance(text());
    if (!m_icon.isNull()) {
        w += kGap + kIconSize.width();
    }
    if (!m_trailing.isEmpty()) {
        w += kGap + qCeil(TabularDigits::of(font()).width(m_trailing));
    }
    return w;
}

QSize CapsuleButton::sizeHint() const {
    return QSize(contentWidth() + 2 * kPadX, QFontMetrics(font()).height() + 2 * kPadY);
}

QPainterPath CapsuleButton::capsule() const {
    return capsulePath(rect(), 0.5);
}

bool CapsuleButton::hitButton(const QPoint& pos) const {
    return capsule().contains(QPointF(pos));
}

void CapsuleButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
    QAbstractButton::changeEvent(event);
}

void CapsuleButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(isEnabled() ? 1.0 : 0.45);
    QColor fill = leafColor();
    if (isDown()) {
        fill.setAlphaF(0.8f);
    }
    p.fillPath(capsule(), fill);
    drawFocusRing(p, *this, capsulePath(rect()));

    p.setPen(Qt::white);
    const QFontMetrics fm(font());
    int x = (width() - contentWidth()) / 2;
    const QRect line(0, 0, width(), height());
    const int titleWidth = fm.horizontalAdvance(text());
    p.drawText(QRect(x, line.top(), titleWidth, line.height()), Qt::AlignVCenter | Qt::AlignLeft, text());
    x += titleWidth;
    if (!m_icon.isNull()) {
        x += kGap;
        const QRect icon(QPoint(x, (height() - kIconSize.height()) / 2), kIconSize);
        drawPixelArt(p, m_icon, icon, PixelFit::stretch);
        x += kIconSize.width();
    }
    if (!m_trailing.isEmpty()) {
        x += kGap;
        TabularDigits::of(font()).draw(p, QRectF(x, line.top(), width() - x, line.height()),
                                       Qt::AlignVCenter | Qt::AlignLeft, m_trailing);
    }
}

} // namespace pipfield
