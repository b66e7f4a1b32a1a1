#pragma once

#include <QByteArray>

namespace pipfield {

/// What decides which of Qt's platforms the program's windows, tray and dialogs go through.
struct SessionFacts {
    /// QT_QPA_PLATFORM as the player set it.
    QByteArray chosenPlatform;
    /// XDG_SESSION_TYPE.
    QByteArray sessionType;
    bool waylandDisplay = false;
    bool x11Display = false;
    /// The compositor offers the layer shell, so the strip is a layer surface of our own.
    bool layerShell = false;
};

/// The value for QT_QPA_PLATFORM, or nothing to leave Qt's choice alone. A list names fallbacks in order.
QByteArray qtPlatformFor(const SessionFacts& facts);

} // namespace pipfield
