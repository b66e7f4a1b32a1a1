#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>

#include "platform/DesktopEvents.h"
#include "platform/PanelWindowing.h"
#include "platform/WindowList.h"

struct xcb_connection_t;
class QWindow;

namespace pipfield {

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

    /// Qt rewrites the window type on any change of the window's flags, so this is applied again then.
    void makePanel(QWindow* window) const override;

private:
    X11Desktop(xcb_connection_t* connection, std::uint32_t root, QObject* parent);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    std::uint32_t atom(const char* name) const;
    void listenForProperties(std::uint32_t window) const;
    void watchActiveWindow();
    bool readCompositing() const;

    // Interned once: asking the server for an atom is a round trip.
    struct Atoms {
        std::uint32_t currentDesktop, activeWindow, clientListStacking, wmWindowType, typeDock, typeDesktop, wmState,
            stateHidden, stateSkipTaskbar, stateSkipPager, stateAbove, stateSticky, wmDesktop;
    };

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    Atoms m_atoms{};
    std::uint32_t m_activeWindow = 0;
    std::uint32_t m_cmSelection = 0;
    int m_xfixesFirstEvent = -1;
    bool m_compositing = false;
};

} // namespace pipfield
