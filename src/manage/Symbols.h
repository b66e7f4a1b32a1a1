#pragma once

#include <QIcon>
#include <QString>

#include <initializer_list>

namespace pipfield {

class Sprite;

/// A symbol of the window: the first of `themeNames` the desktop's icon theme has, else our own
/// pixel-art image `ownName`, scaled by whole multiples so it stays crisp on any screen.
QIcon symbolIcon(Sprite& sprites, std::initializer_list<const char*> themeNames, const QString& ownName);

/// Our own image alone, at 1x and 2x; null when the art lacks it.
QIcon ownIcon(Sprite& sprites, const QString& name);

} // namespace pipfield
