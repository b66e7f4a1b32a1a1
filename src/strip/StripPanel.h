#pragma once

#include <QWidget>

namespace pipfield {

/// The strip's window: borderless, translucent, never focused, above ordinary windows. It paints
/// nothing of its own; it says when compositing comes and goes, so that where no compositing manager
/// blends translucent windows its content can fill every pixel (the scene paints a sky) and the strip
/// is not black around the art.
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

Q_SIGNALS:
    void compositedChanged(bool composited);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_content = nullptr;
    bool m_composited = true;
};

} // namespace pipfield
