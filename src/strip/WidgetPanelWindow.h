#pragma once

#include "strip/PanelWindow.h"

#include <memory>

namespace pipfield {

/// A panel window that Qt shows and paints: the scene's widget is its only child.
class WidgetPanelWindow final : public PanelWindow {
    Q_OBJECT

public:
    explicit WidgetPanelWindow(QObject* parent = nullptr);
    ~WidgetPanelWindow() override;

    void setContent(const StripSurface::Content* content) override;
    void setFrame(const QRect& frame, QScreen* screen) override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    QScreen* screen() const override;
    void setClickThrough(bool on) override;
    quintptr nativeId() const override;
    /// Qt paints the scene's widget whenever the scene asks it to.
    void damage(const QRegion&) override {}
    QWidget* widget() const override;

private:
    std::unique_ptr<QWidget> m_window;
};

} // namespace pipfield
