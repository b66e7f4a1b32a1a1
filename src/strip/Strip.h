#pragma once

#include "strip/StripSurface.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace pipfield {

class Defaults;

/// The orchard strip: the player's settings for it (shown, click-through, hidden in full screen,
/// which screen), remembered and carried out by the surface that shows it.
class Strip final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool clickThrough READ clickThrough WRITE setClickThrough NOTIFY clickThroughChanged)
    Q_PROPERTY(bool hideInFullScreen READ hideInFullScreen WRITE setHideInFullScreen NOTIFY hideInFullScreenChanged)
    Q_PROPERTY(bool isShown READ isShown WRITE setShown NOTIFY isShownChanged)
    Q_PROPERTY(qint64 screenID READ screenID WRITE setScreenID NOTIFY screenIDChanged)

public:
    using ScreenChoice = StripSurface::Screen;

    /// Shows `content` on `surface`, which must outlive the strip; the strip owns the content's widget.
    Strip(Defaults& defaults, StripSurface& surface, StripSurface::Content content, QObject* parent = nullptr);
    ~Strip() override;

    bool clickThrough() const { return m_clickThrough; }
    bool hideInFullScreen() const { return m_hideInFullScreen; }
    bool isShown() const { return m_isShown; }
    qint64 screenID() const { return m_screenID; }
    void setClickThrough(bool on);
    void setHideInFullScreen(bool on);
    void setShown(bool shown);
    void setScreenID(qint64 id);
    /// While the session is locked or its screen saver runs nobody sees the strip: it is taken off
    /// the screen as when hidden, and comes back as it was. Never stored.
    void setSessionLocked(bool locked);
    bool sessionLocked() const { return m_sessionLocked; }

    /// The connected screens, in the desktop's order, for the settings to offer.
    std::vector<ScreenChoice> screens() const;

    QWidget* view() const { return m_view.get(); }

Q_SIGNALS:
    void clickThroughChanged(bool on);
    void hideInFullScreenChanged(bool on);
    void isShownChanged(bool shown);
    void screenIDChanged(qint64 id);

private:
    void place();

    Defaults& m_defaults;
    StripSurface& m_surface;
    std::unique_ptr<QWidget> m_view;
    bool m_clickThrough = false;
    bool m_hideInFullScreen = false;
    bool m_isShown = false;
    bool m_sessionLocked = false;
    qint64 m_screenID = 0;
};

} // namespace pipfield
