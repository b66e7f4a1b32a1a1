#include "manage/Label.h"

#include "kit/TabularDigits.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include <cmath>

namespace pipfield {

Label::Label(const QString& text, TextStyle style, Tone tone, QWidget* parent)
    : Label(text, styledFont(style), tone, parent) {}

Label::Label(const QString& text, const QFont& font, Tone tone, QWidget* parent) : QLabel(text, parent), m_tone(tone) {
    setFont(font);
    setTextFormat(Qt::PlainText);
    applyTone();
}

void Label::setTone(Tone tone) {
    m_tone = tone;
    m_color = QColor();
    applyTone();
}

void Label::setToneColor(const QColor& color) {
    m_color = color;
    applyTone();
}

void Label::setTabularDigits(bool on) {
    m_tabular = on;
    updateGeometry();
    update();
}

QSize Label::sizeHint() const {
    QSize size = QLabel::sizeHint();
    const TabularDigits& digits = TabularDigits::of(font());
    if (m_tabular && !digits.native()) {
        const QMargins m = contentsMargins();
        size.setWidth(static_cast<int>(std::ceil(digits.width(text()))) + m.left() + m.right() + 2 * margin());
    }
    return size;
}

QSize Label::minimumSizeHint() const {
    return m_tabular ? sizeHint() : QLabel::minimumSizeHint();
}

void Label::paintEvent(QPaintEvent* event) {
    const TabularDigits& digits = TabularDigits::of(font());
    if (!m_tabular || digits.native()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    digits.draw(p, QRectF(contentsRect()).adjusted(margin(), margin(), -margin(), -margin()),
                static_cast<int>(alignment()), text());
}

bool Label::event(QEvent* event) {
    if (event->type() == QEvent::ApplicationPaletteChange) {
        applyTone();
    }
    return QLabel::event(event);
}

void Label::applyTone() {
    if (m_tone == Tone::primary && !m_color.isValid()) {
        setPalette(QPalette());
        return;
    }
    QPalette p = QApplication::palette(this);
    const QColor c = m_color.isValid() ? m_color : toneColor(p, m_tone);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    setPalette(p);
}

} // namespace pipfield
