#pragma once

#include "kit/TextStyle.h"

#include <QLabel>

namespace pipfield {

/// A text in one of the window's text styles and tones. The tone follows the application palette,
/// also when it switches between light and dark while the window is open.
class Label : public QLabel {
    Q_OBJECT

public:
    explicit Label(const QString& text = {}, TextStyle style = TextStyle::body, Tone tone = Tone::primary,
                   QWidget* parent = nullptr);
    Label(const QString& text, const QFont& font, Tone tone, QWidget* parent = nullptr);

    void setTone(Tone tone);
    void setToneColor(const QColor& color);
    /// Gives every digit the width of the widest one, keeping the font (see TabularDigits).
    void setTabularDigits(bool on);
    bool tabularDigits() const { return m_tabular; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyTone();

    Tone m_tone;
    QColor m_color;
    bool m_tabular = false;
};

} // namespace pipfield
