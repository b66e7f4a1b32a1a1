#include "manage/Label.h"

#include <QApplication>
#include <QEvent>

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
