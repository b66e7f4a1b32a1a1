#pragma once

#include <QAbstractButton>
#include <QImage>

namespace pipfield {

/// The filled green capsule of the window's main actions (selling, confirming a hire): white
/// headline text, darker while pressed, faded while disabled. Optionally a price after the title.
class CapsuleButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CapsuleButton(const QString& text = {}, QWidget* parent = nullptr);

    /// A small picture and a text drawn after the title; a null image and empty text remove them.
    void setTrailing(const QImage& icon, const QString& text);
    const QString& trailingText() const { return m_trailing; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void changeEvent(QEvent* event) override;

private:
    QPainterPath capsule() const;
    int contentWidth() const;

    QImage m_icon;
    QString m_trailing;
};

} // namespace pipfield
