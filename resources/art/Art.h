#pragma once

// The art of the game, drawn in code at 1x. Each function adds its images to the set.
class ArtSet;

void drawScenery(ArtSet& art);
void drawTrees(ArtSet& art);
void drawFruit(ArtSet& art);
void drawEffects(ArtSet& art);
void drawWorkers(ArtSet& art);
/// The window's own symbols (tabs, hiring), used where the desktop's icon theme has no fitting one.
void drawIcons(ArtSet& art);
// Composes the key art from the images above, so it must run last.
void drawInterface(ArtSet& art);

#include <QString>

class Canvas;
/// One worker frame, for pictures composed from the workers (portraits, key art, previews).
Canvas workerFrame(int role, int variant, int tier, const QString& anim, int frame);
