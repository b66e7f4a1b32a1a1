#pragma once

#include "art/Kinds.h"

#include <QSize>

class Canvas;

/// The fruit as it hangs in a tree or lies in the crate: a few pixels, hand-placed.
QSize smallFruitSize(FruitShape shape);
void drawSmallFruit(Canvas& canvas, const KindArt& kind, int x, int y);
/// The fruit at icon size, drawn from shapes so it scales from 8 to 16 pixels and more.
void drawFruitIcon(Canvas& canvas, const KindArt& kind, int size);
