#pragma once

#include "strip/PanelWindow.h"
#include "strip/StripSurface.h"

#include <memory>

class QScreen;

namespace pipfield {

class DesktopEvents;
class PanelWindowing;
class WindowList;

/// The strip as a window of its own that the window manager keeps as a panel (X11): borderless,
/// translucent, never focused, above ordinary windows, hidden while a full-screen window covers
/// its screen or kept over it.
class StripPanel final : public StripSurface {
    Q_OBJECT

public:
    /// `windowing` may be null where nothing can make a window a panel (not X11). Without a `window`
    /// the panel is a window that Qt shows and paints.
    StripPanel(const WindowList& windows, DesktopEvents& events, const PanelWindowing* windowing,
               std::unique_ptr<PanelWindow> window = nullptr, QObject* parent = nullptr);
    ~StripPanel() override;

    static constexpr int kFullScreenRecheckMs = 600;
    /// How long a window manager may go without listing its windows before the strip says that it
    /// cannot hide over full-screen windows there: a starting one lists none for a moment (Xfwm4).
    static constexpr int kWindowListGraceMs = 3000;

    std::vector<Screen> screens() const override;
    void place(qint64 screenID) override;
    void setShown(bool shown) override;
    void setClickThrough(bool on) override;
    void setAboveFullScreen(bool above) override;
    void setContent(Content content) override;
    bool composited() const override { return m_composited; }
    void damage(const QRegion& region) override;

    /// Re-checks full screen and shows or hides the window.
    void applyVisibility();
    /// Whether a full-screen window occupies the screen.
    bool fullScreenWindowOn(const QScreen* screen) const;
    bool fullScreenAppActive() const { return m_fullScreenAppActive; }

    PanelWindow& window() const { return *m_window; }

private:
    QScreen* targetScreen() const;
    void followCompositing(bool compositing);
    void applyClickThrough();
    void recheckSoon();
    void checkWindowListLater();

    const WindowList& m_windows;
    DesktopEvents& m_events;
    const PanelWindowing* m_windowing;
    std::unique_ptr<PanelWindow> m_window;
    Content m_content;
    qint64 m_screenID = 0;
    bool m_shown = false;
    // Nothing is shown or hidden before the strip first says whether it is shown.
    bool m_shownSaid = false;
    bool m_clickThrough = false;
    bool m_aboveFullScreen = true;
    bool m_composited = true;
    bool m_fullScreenAppActive = false;
    bool m_windowListChecked = false;
};

} // namespace pipfield
