#pragma once

#include "strip/DesktopEvents.h"
#include "strip/PanelWindowing.h"
#include "strip/WindowList.h"

#include <QAbstractNativeEventFilter>
#include <QRect>
#include <QString>

#include <cstdint>
#include <set>
#include <vector>

struct xcb_connection_t;

namespace pipfield {

/// The kind of window that makes the strip a free panel under a window manager.
enum class PanelStyle {
    /// A dock: kept above ordinary windows, on every desktop, never focused.
    Dock,
    /// A sticky, always-on-top utility window that the window manager does not manage at all, for
    /// window managers that turn docks into bars reserving a row of the screen and that frame
    /// floating windows in frames of their own which catch the clicks meant for the windows below
    /// (i3 does both).
    FloatingUtility,
};

/// The style for the window manager named `windowManager` (its _NET_WM_NAME).
PanelStyle panelStyleFor(const QString& windowManager);

/// A screen in both of X11's and Qt's coordinates: Qt keeps a screen's origin in device pixels and
/// divides only its size by the screen's device pixel ratio.
struct ScreenScale {
    QRect logical;
    double ratio = 1.0;
};

/// A rectangle in X11's device pixels in Qt's logical coordinates, scaled by the ratio of the screen
/// its centre lies on (the first screen's when it lies on none).
QRectF toLogical(const QRect& native, const std::vector<ScreenScale>& screens);

/// The X11 desktop through the connection of Qt's xcb platform: the EWMH window list, desktop switches,
/// activations and whether a compositing manager runs.
class X11Desktop final : public DesktopEvents,
                         public WindowList,
                         public PanelWindowing,
                         private QAbstractNativeEventFilter {
    Q_OBJECT

public:
    /// Nothing when the application does not run on X11.
    static X11Desktop* create(QObject* parent = nullptr);
    ~X11Desktop() override;

    bool compositing() const override { return m_compositing; }
    std::optional<std::vector<WindowEntry>> onScreenWindows() const override;
    std::optional<QRectF> focusedWindow() const override;

    /// Qt rewrites the window type of its own windows on any change of their flags, so this is applied
    /// again then.
    void makePanel(quintptr window) const override;
    void panelShown(quintptr window) const override;
    void keepAboveAll(quintptr window, bool on) const override;

    /// The running window manager's name, empty when none announces itself.
    QString windowManagerName() const;

private:
    X11Desktop(xcb_connection_t* connection, std::uint32_t root, QObject* parent);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    std::uint32_t atom(const char* name) const;
    void listenForProperties(std::uint32_t window) const;
    void watchActiveWindow();
    void watchClientWindows();
    bool readCompositing() const;
    void sendToRoot(std::uint32_t window, std::uint32_t type, const std::vector<std::uint32_t>& data) const;
    std::vector<std::uint32_t> panelStates() const;
    void setPanelProperties(std::uint32_t window) const;
    void raise(std::uint32_t window) const;

    // The window list in three steps: every question sent, the answers read into entries and
    // override-redirect candidates, then the candidates that are window-manager frames dropped.
    struct PendingWindow;
    struct UnmanagedWindow;
    std::vector<PendingWindow> askAboutWindows(const std::vector<std::uint32_t>& stacking) const;
    std::vector<WindowEntry> collectWindows(const std::vector<PendingWindow>& pending,
                                            const std::vector<ScreenScale>& screens,
                                            std::vector<UnmanagedWindow>& unmanaged) const;
    std::vector<QRect> withoutFrames(const std::vector<UnmanagedWindow>& unmanaged,
                                     const std::vector<std::uint32_t>& stacking) const;

    // Interned once: asking the server for an atom is a round trip.
    struct Atoms {
        std::uint32_t currentDesktop, activeWindow, clientListStacking, wmWindowType, typeDock, typeUtility,
            typeDesktop, wmState, stateHidden, stateFullScreen, stateSkipTaskbar, stateSkipPager, stateAbove,
            stateSticky, wmDesktop, supportingWmCheck, wmName, utf8String, comptonShadow, restackWindow;
    };

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    Atoms m_atoms{};
    std::uint32_t m_activeWindow = 0;
    // The managed windows whose state changes this connection hears of.
    std::set<std::uint32_t> m_watched;
    std::uint32_t m_cmSelection = 0;
    int m_xfixesFirstEvent = -1;
    bool m_compositing = false;
    // The panel window that is currently left unmanaged to stay above a full-screen window.
    mutable std::uint32_t m_bypassing = 0;
    // Withdrawn and marked, waiting for the window manager to let go of it before it maps again.
    mutable std::uint32_t m_awaitingRelease = 0;
};

} // namespace pipfield
