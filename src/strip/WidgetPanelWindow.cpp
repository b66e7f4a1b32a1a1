#include "strip/WidgetPanelWindow.h"

#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace pipfield {

namespace {

class PanelWidget final : public QWidget {
public:
    PanelWidget()
        // A plain window, not a tool window: Qt makes a tool window transient for the program's other
        // windows, and window managers then give it their desktop and stacking layer instead of a panel's.
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint) {
        setWindowTitle(QStringLiteral("Pipfield"));
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_X11DoNotAcceptFocus);
        setFocusPolicy(Qt::NoFocus);
    }

    void setContent(QWidget* content) {
        m_content = content;
        if (content == nullptr) {
            return;
        }
        content->setParent(this);
        content->setGeometry(rect());
        content->show();
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        // A window with a shape of its own gets no drop shadow from Xfwm4's compositor, which otherwise
        // draws a grey box around a translucent dock. The shape is the whole window, so nothing is cut.
        setMask(QRegion(rect()));
        if (m_content != nullptr) {
            m_content->setGeometry(rect());
        }
    }

private:
    QPointer<QWidget> m_content;
};

} // namespace

WidgetPanelWindow::WidgetPanelWindow(QObject* parent) : PanelWindow(parent), m_window(std::make_unique<PanelWidget>()) {
    // The native window exists from here on, so that the panel's hints can be set before it first maps.
    m_window->winId();
    connect(m_window->windowHandle(), &QWindow::screenChanged, this, &PanelWindow::screenChanged);
}

WidgetPanelWindow::~WidgetPanelWindow() = default;

void WidgetPanelWindow::setContent(const StripSurface::Content* content) {
    static_cast<PanelWidget&>(*m_window).setContent(content != nullptr ? content->widget : nullptr);
}

void WidgetPanelWindow::setFrame(const QRect& frame, QScreen*) {
    m_window->setGeometry(frame);
}

void WidgetPanelWindow::setVisible(bool visible) {
    m_window->setVisible(visible);
}

bool WidgetPanelWindow::isVisible() const {
    return m_window->isVisible();
}

QScreen* WidgetPanelWindow::screen() const {
    return m_window->screen();
}

void WidgetPanelWindow::setClickThrough(bool on) {
    // Through the native window: QWidget::setWindowFlag would unmap and remap the window.
    if (QWindow* window = m_window->windowHandle()) {
        window->setFlag(Qt::WindowTransparentForInput, on);
    }
}

quintptr WidgetPanelWindow::nativeId() const {
    return m_window->winId();
}

QWidget* WidgetPanelWindow::widget() const {
    return m_window.get();
}

} // namespace pipfield
