#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace pipfield {

/// The strip's window: borderless, translucent, never focused, above ordinary windows. Where no
/// compositing manager blends translucent windows it paints a sky behind the scene instead of black.
class StripPanel final : public QWidget {
    Q_OBJECT

public:
    StripPanel();

    /// Installs the scene, which fills the whole panel.
    void setContent(QWidget* content);
    QWidget* content() const { return m_content; }

    /// Whether translucent pixels are blended with the desktop below.
    void setComposited(bool composited);
    bool composited() const { return m_composited; }
    /// The gradient painted behind the content where nothing is blended; none until set.
    void setSky(const QColor& top, const QColor& bottom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_content = nullptr;
    bool m_composited = true;
    QColor m_skyTop;
    QColor m_skyBottom;
    // The painted sky, drawn once per size and colour: the strip repaints small patches many times a second.
    QImage m_sky;
};

} // namespace pipfield
