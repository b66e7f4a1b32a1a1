#include "manage/LiveRefresh.h"

#include <QEvent>
#include <QWidget>

namespace pipfield {

LiveRefresh::LiveRefresh(QWidget* view, std::function<void()> refresh)
    : QObject(view), m_view(view), m_refresh(std::move(refresh)) {
    view->installEventFilter(this);
}

void LiveRefresh::changed() {
    if (!m_view->isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    m_refresh();
}

bool LiveRefresh::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::Show && m_stale) {
        m_stale = false;
        m_refresh();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pipfield
