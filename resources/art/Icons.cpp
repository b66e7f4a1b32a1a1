#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"
#include "art/Kinds.h"

#include <utility>

// The management window's symbols, for desktops whose icon theme has none that fits: 16 × 16, ink
// rimmed like the menu icons so they read on light and dark tab bars alike.

namespace {

struct Icon {
    const char* name;
    const char* rows[16];
    std::pair<char, QRgb> key[8];
};

const Icon icons[] = {
    {"icon-tree",
     {
         "......OOOO......",
         "....OOLLGGOO....",
         "...OLLLGGGGGO...",
         "..OLLGGGGYYGGO..",
         "..OLGGGGGYYGDO..",
         ".OGGGYYGGGGGGDO.",
         ".OGGGYYGGGGGDDO.",
         ".OGGGGGGGGGDDDO.",
         "..OGGGGGGDDDDO..",
         "...OODGGDDDOO...",
         ".....OOTtOO.....",
         "......OTtO......",
         "......OTtO......",
         "......OTtO......",
         ".....OTTttO.....",
         ".....OOOOOO.....",
     },
     {{'O', ink},
      {'L', 0xff7cc04f},
      {'G', 0xff4f9a3a},
      {'D', 0xff2f6a2a},
      {'Y', 0xfff2cf2b},
      {'T', 0xff9a6838},
      {'t', 0xff6a4224}}},
    {"icon-people",
     {
         "................",
         "......OOOO......",
         ".....OSSSSO.....",
         "..OO.OSSSSO.OO..",
         ".OSSOOSSSSOOSSO.",
         ".OSSSOOSSOOSSSO.",
         ".OSSSOOOOOOSSSO.",
         "..OSOOBBBBOOSO..",
         ".OOOOBBBBBBOOOO.",
         "OAAAOBBBBBBOCCCO",
         "OAAAOBBBBBBOCCCO",
         "OAAAOBBBBBBOCCCO",
         "OAAAOBBBBBBOCCCO",
         "OOOOOOOOOOOOOOOO",
         "................",
         "................",
     },
     {{'O', ink}, {'S', 0xfff2c49a}, {'A', 0xffe0883a}, {'B', 0xff4a8fd8}, {'C', 0xffd8464a}}},
    {"icon-palette",
     {
         "................",
         ".....OOOOOO.....",
         "...OOWWWWWWOO...",
         "..OWWRRWWWWWWO..",
         ".OWWWRRWWBBWWWO.",
         ".OWYYWWWWBBWWWO.",
         "OWWYYWWWWWWWWWO.",
         "OWWWWWWWWWWOOO..",
         "OWGGWWWWWWO.....",
         "OWGGWWWWWWO.....",
         "OWWWWWWWWWWOOO..",
         ".OWWWPPWWWWWWWO.",
         ".OWWWPPWWWWWWWO.",
         "..OOWWWWWWWWOO..",
         "....OOOOOOOO....",
         "................",
     },
     {{'O', ink},
      {'W', 0xffe8c890},
      {'R', 0xffd8464a},
      {'B', 0xff4a8fd8},
      {'Y', 0xfff2cf2b},
      {'G', 0xff4f9a3a},
      {'P', 0xfff28aae}}},
    {"icon-book",
     {
         "................",
         "..OOOOOOOOOOO...",
         "..OBBBBBBBBBBO..",
         "..OBBBBBBBBBBO..",
         "..OBBOOOOOOBBO..",
         "..OBBOYYYYOBBO..",
         "..OBBOOOOOOBBO..",
         "..OBBBBBBBBBBO..",
         "..OBBBBBBBBBBO..",
         "..OBBBBBBBBBBO..",
         "..OBBBBBBBBBBO..",
         "..OdddddddddddO.",
         "..OdWWWWWWWWWWO.",
         "..OdddddddddddO.",
         "...OOOOOOOOOOO..",
         "................",
     },
     {{'O', ink}, {'B', 0xff3f8a3a}, {'Y', 0xfff2cf2b}, {'d', 0xffc8b898}, {'W', 0xfffdf6e6}}},
    {"icon-calendar",
     {
         "................",
         "....O....O......",
         "..OOOOOOOOOOOO..",
         "..ORROOORROOOO..",
         "..ORRRRRRRRRRO..",
         "..ORRRRRRRRRRO..",
         "..OOOOOOOOOOOO..",
         "..OWWWWWWWWWWO..",
         "..OWKWWKWWKWWO..",
         "..OWWWWWWWWWWO..",
         "..OWKWWKWWGGWO..",
         "..OWWWWWWWGGWO..",
         "..OWKWWKWWWWWO..",
         "..OWWWWWWWWWWO..",
         "..OOOOOOOOOOOO..",
         "................",
     },
     {{'O', ink}, {'R', 0xffd8464a}, {'W', 0xfffdf6e6}, {'K', 0xff8a8078}, {'G', 0xff4f9a3a}}},
    {"icon-gear",
     {
         "................",
         "......OOOO......",
         "..OO..OGGO..OO..",
         ".OGGOOOGGOOOGGO.",
         ".OGGGGGGGGGGGGO.",
         "..OGGGGGGGGGGO..",
         "..OGGGGOOGGGGO..",
         "OOOGGGO..OGGGOOO",
         "OGGGGO....OGGGGO",
         "OGGGGO....OGGGGO",
         "OOOGGGO..OGGGOOO",
         "..OGGGGOOGGGGO..",
         "..OGGGGGGGGGGO..",
         ".OGGGGGGGGGGGGO.",
         ".OGGOOOGGOOOGGO.",
         "..OO..OOOO..OO..",
     },
     {{'O', ink}, {'G', 0xffa8b0b8}}},
    {"icon-person-add",
     {
         "................",
         "....OOOO........",
         "...OSSSSO.......",
         "...OSSSSO.......",
         "...OSSSSO.......",
         "....OSSO...OOO..",
         "...OOOOOO..OGO..",
         "..OBBBBBBOOOGOOO",
         ".OBBBBBBBBOGGGGO",
         ".OBBBBBBBBOOOGOO",
         ".OBBBBBBBBO.OGO.",
         ".OBBBBBBBBO.OOO.",
         ".OBBBBBBBBO.....",
         ".OOOOOOOOOO.....",
         "................",
         "................",
     },
     {{'O', ink}, {'S', 0xfff2c49a}, {'B', 0xff4a8fd8}, {'G', 0xff5fae48}}},
};

} // namespace

void drawIcons(ArtSet& art) {
    for (const Icon& icon : icons) {
        Canvas c(16, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                for (const auto& [symbol, color] : icon.key) {
                    if (symbol != '\0' && symbol == icon.rows[y][x]) {
                        c.set(x, y, color);
                    }
                }
            }
        }
        art.add("icons", icon.name, c);
    }
}
