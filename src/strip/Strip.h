#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QScreen;
class QWidget;

namespace pipfield {

class Defaults;
class DesktopEvents;
class PanelWindowing;
class StripPanel;
class StripSurface;
class WindowList;

/// Keeps the orchard strip at the bottom of the chosen screen: places it, follows screen changes,
/// shows or hides it by the player's settings and by full-screen windows, and remembers the settings.
class Strip final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool clickThrough READ clickThrough WRITE setClickThrough NOTIFY clickThroughChanged)
    Q_PROPERTY(bool hideInFullScreen READ hideInFullScreen WRITE setHideInFullScreen NOTIFY hideInFullScreenChanged)
    Q_PROPERTY(bool isShown READ isShown WRITE setShown NOTIFY isShownChanged)
    Q_PROPERTY(qint64 screenID READ screenID WRITE setScreenID NOTIFY screenIDChanged)

public:
    struct ScreenChoice {
        std::uint32_t id;
        QString name;
    };

    /// Takes over `view`, the scene shown in the panel. With a `surface` (a compositor that places
    /// and stacks the strip itself) the scene is painted into that instead of the panel.
    Strip(Defaults& defaults, const WindowList& windows, DesktopEvents& events, const PanelWindowing* windowing,
          QWidget* view, StripSurface* surface = nullptr, QObject* parent = nullptr);
    ~Strip() override;

    static constexpr int kFullScreenRecheckMs = 600;

    bool clickThrough() const { return m_clickThrough; }
    bool hideInFullScreen() const { return m_hideInFullScreen; }
    bool isShown() const { return m_isShown; }
    qint64 screenID() const { return m_screenID; }
    void setClickThrough(bool on);
    void setHideInFullScreen(bool on);
    void setShown(bool shown);
    void setScreenID(qint64 id);

    /// The connected screens, in the desktop's order, for the settings to offer.
    std::vector<ScreenChoice> screens() const;
    /// Re-checks full screen and shows or hides the panel.
    void applyVisibility();
    /// Whether a full-screen window occupies the screen.
    bool fullScreenWindowOn(const QScreen* screen) const;
    bool fullScreenAppActive() const { return m_fullScreenAppActive; }

    StripPanel& panel() const { return *m_panel; }
    QWidget* view() const;

Q_SIGNALS:
    void clickThroughChanged(bool on);
    void hideInFullScreenChanged(bool on);
    void isShownChanged(bool shown);
    void screenIDChanged(qint64 id);
    /// The panel moved to a screen with other pixels: the scene redraws its sprites at the new scale.
    void backingScaleChanged();

private:
    QScreen* targetScreen() const;
    void place();
    void placeSurface();
    void applyClickThrough();
    void recheckSoon();

    Defaults& m_defaults;
    const WindowList& m_windows;
    DesktopEvents& m_events;
    const PanelWindowing* m_windowing;
    StripSurface* m_surface;
    std::unique_ptr<StripPanel> m_panel;
    bool m_clickThrough = false;
    bool m_hideInFullScreen = false;
    bool m_isShown = false;
    qint64 m_screenID = 0;
    bool m_fullScreenAppActive = false;
};

} // namespace pipfield
