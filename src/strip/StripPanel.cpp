#include "strip/StripPanel.h"

namespace pipfield {

StripPanel::StripPanel()
    // A plain window, not a tool window: Qt makes a tool window transient for the program's other
    // windows, and window managers then give it their desktop and stacking layer instead of a panel's.
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::NoDropShadowWindowHint) {
    setWindowTitle(QStringLiteral("Pipfield"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
}

void StripPanel::setContent(QWidget* content) {
    m_content = content;
    content->setParent(this);
    content->setGeometry(rect());
    content->show();
}

void StripPanel::setComposited(bool composited) {
    if (composited != m_composited) {
        m_composited = composited;
        Q_EMIT compositedChanged(composited);
    }
}

void StripPanel::resizeEvent(QResizeEvent*) {
    // A window with a shape of its own gets no drop shadow from Xfwm4's compositor, which otherwise
    // draws a grey box around a translucent dock. The shape is the whole window, so nothing is cut.
    setMask(QRegion(rect()));
    if (m_content != nullptr) {
        m_content->setGeometry(rect());
    }
}

} // namespace pipfield
