#include "strip/StripPanel.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

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
        update();
    }
}

void StripPanel::setSky(const QColor& top, const QColor& bottom) {
    if (top == m_skyTop && bottom == m_skyBottom) {
        return;
    }
    m_skyTop = top;
    m_skyBottom = bottom;
    m_sky = QImage();
    if (!m_composited) {
        update();
    }
}

void StripPanel::paintEvent(QPaintEvent* event) {
    if (m_composited || !m_skyTop.isValid()) {
        return; // the desktop shows through around the scene
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_sky.size() != pixels || m_sky.devicePixelRatio() != ratio) {
        // Opaque, so that drawing it is a plain copy.
        m_sky = QImage(pixels, QImage::Format_RGB32);
        m_sky.setDevicePixelRatio(ratio);
        QPainter sky(&m_sky);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, m_skyTop);
        gradient.setColorAt(1, m_skyBottom);
        sky.fillRect(rect(), gradient);
    }
    // Patch by patch: the whole picture under a clip of many rectangles would go through the span
    // blender, which wakes other threads on every paint.
    QPainter painter(this);
    for (const QRect& area : event->region()) {
        painter.drawImage(area, m_sky, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
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
