#pragma once

#include "manage/ManageWindow.h"
#include "platform/LoginItem.h"
#include "scene/Palette.h"
#include "scene/Sprite.h"
#include "strip/DesktopEvents.h"
#include "strip/Strip.h"
#include "strip/StripPanel.h"
#include "strip/WindowList.h"
#include "support/FakeSaveDialog.h"
#include "support/GameTestSupport.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace pipfield::test {

class NoWindows final : public WindowList {
public:
    std::optional<std::vector<WindowEntry>> onScreenWindows() const override { return std::vector<WindowEntry>{}; }
};

class StillDesktop final : public DesktopEvents {
public:
    bool compositing() const override { return true; }
};

/// A login item that keeps its state in memory and refuses changes while `refusal` holds a text.
class FakeLoginItem final : public LoginItem {
public:
    bool enabled() const override { return on; }
    std::optional<QString> setEnabled(bool value) override {
        ++calls;
        on = refusal ? on : value;
        return refusal;
    }

    bool on = false;
    int calls = 0;
    std::optional<QString> refusal;
};

/// Shows a widget without a screen: the window's views keep current only while they are shown.
inline void showAside(QWidget& widget) {
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    widget.show();
}

/// The widget as drawn, one image pixel per device pixel.
inline QImage shot(QWidget& widget) {
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    return image;
}

/// The pixels of `area` for which `match(QPoint)` holds: how many, the first in reading order, and their bounds.
struct Ink {
    int count = 0;
    QPoint first{-1, -1};
    QRect bounds;
};
template <typename Match>
Ink inkWhere(const QImage& image, QRect area, Match match) {
    Ink ink;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y) {
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x) {
            if (match(QPoint(x, y))) {
                if (ink.count++ == 0) {
                    ink.first = QPoint(x, y);
                }
                ink.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

/// The application's font for as long as it lives, put back however the test ends so that no later test runs
/// with it.
class AppFont {
public:
    explicit AppFont(const QFont& font) : m_original(QApplication::font()) { QApplication::setFont(font); }
    ~AppFont() { QApplication::setFont(m_original); }
    AppFont(const AppFont&) = delete;
    AppFont& operator=(const AppFont&) = delete;

private:
    QFont m_original;
};

/// The starting orchard with nobody hired, so that nothing changes unless the test acts.
inline Orchard idleOrchard(std::int64_t coins = 10) {
    Orchard o = Orchard::starter();
    o.workers = {};
    o.coins = coins;
    return o;
}

/// A game, its strip and its window over temporary files, with the real art.
struct ManageWorld : GameWorld {
    explicit ManageWorld(const Orchard& orchard = Orchard::starter())
        : GameWorld(localInstant(2026, 4, 1, 12)), sprites(Sprite::bundled(), &Palette::dyeColors(), 1) {
        seed(orchard, clock.now());
        game = launch();
        panel = std::make_unique<StripPanel>(windows, desktop, nullptr);
        strip = std::make_unique<Strip>(defaults, *panel, StripSurface::Content::of(new QWidget));
    }

    std::unique_ptr<ManageWindow> window() {
        const ManageServices services{&sprites, &login, &saveDialog, [this] { ++notificationSettingsOpened; }};
        return std::make_unique<ManageWindow>(*game, *strip, defaults, nullptr, services);
    }

    NoWindows windows;
    StillDesktop desktop;
    Sprite sprites;
    FakeLoginItem login;
    FakeSaveDialog saveDialog;
    int notificationSettingsOpened = 0;
    std::unique_ptr<Game> game;
    std::unique_ptr<StripPanel> panel;
    std::unique_ptr<Strip> strip;
};

} // namespace pipfield::test
