#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace pipfield {

/// Keeps a view current without working for nobody: a change refreshes the view at once only while
/// it is visible; a change while it is hidden (window closed, other tab chosen) is applied once,
/// when the view is shown next.
class LiveRefresh final : public QObject {
    Q_OBJECT

public:
    LiveRefresh(QWidget* view, std::function<void()> refresh);

    /// Something the view shows has changed.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_view;
    std::function<void()> m_refresh;
    bool m_stale = false;
};

} // namespace pipfield
