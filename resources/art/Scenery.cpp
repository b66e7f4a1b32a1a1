#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"
#include "art/Fruit.h"
#include "art/Kinds.h"

namespace {

constexpr QRgb grassLight = 0xff8ccf5a;
constexpr QRgb grass = 0xff5fae48;
constexpr QRgb grassShade = 0xff3f8a3a;
constexpr QRgb dirt = 0xff8a5f3a;
constexpr QRgb dirtShade = 0xff6a462a;
constexpr QRgb dirtDark = 0xff4e3220;
constexpr QRgb wood = 0xffc08a4e;
constexpr QRgb woodLight = 0xffdcaa6a;
constexpr QRgb woodShade = 0xff8e5f32;

// The tile is mirrored on every second copy, so its edges need not match each other, only themselves.
Canvas ground() {
    Canvas c(32, 8);
    c.rect(0, 2, 32, 6, dirt);
    for (int x = 0; x < 32; ++x) {
        const int h = pixelHash(x, 0, 3);
        c.set(x, 2, grass);
        c.set(x, 3, h % 3 == 0 ? grassShade : grass);
        if (h % 4 != 0) {
            c.set(x, 1, h % 5 == 0 ? grassLight : grass);
        }
        if (h % 7 == 0) {
            c.set(x, 0, grassLight);
        }
        c.set(x, 4, h % 2 == 0 ? grassShade : dirtShade);
        for (int y = 5; y < 8; ++y) {
            const int d = pixelHash(x, y, 4);
            if (d % 9 == 0) {
                c.set(x, y, dirtDark);
            } else if (d % 6 == 0) {
                c.set(x, y, dirtShade);
            }
        }
    }
    // a pebble and a tuft break the repetition
    c.rect(20, 6, 2, 1, 0xffb0a090);
    c.set(20, 5, 0xffd0c4b4);
    c.vline(7, 0, 1, grassLight);
    c.set(6, 0, grass);
    return c;
}

Canvas spring() {
    Canvas c(15, 10);
    const QRgb stem = 0xff3f8a3a;
    const QRgb petals[3] = {0xffff7aa2, 0xfffff06a, 0xffff9a4a};
    const int xs[3] = {2, 7, 12};
    const int tops[3] = {2, 0, 3};
    for (int i = 0; i < 3; ++i) {
        c.vline(xs[i], tops[i] + 3, 9, stem);
        c.rect(xs[i] - 1, tops[i], 3, 3, petals[i]);
        c.set(xs[i], tops[i], 0xffffffff);
    }
    c.set(1, 7, grass);
    c.set(8, 6, grass);
    c.set(9, 5, grass);
    c.set(13, 7, grass);
    c.outline(ink);
    return c;
}

Canvas summer() {
    Canvas c(12, 22);
    c.vline(5, 8, 21, 0xff3f8a3a);
    c.rect(6, 14, 3, 2, grass);
    c.rect(2, 11, 3, 2, grass);
    c.ellipse(5.5, 5, 5, 4.5, 0xffffc93a);
    c.ellipse(5.5, 5, 4.5, 4, 0xfff5b021);
    c.ellipse(5.5, 5, 2.2, 2, 0xff7a4a22);
    c.set(4, 4, 0xff5a3418);
    c.set(6, 5, 0xff5a3418);
    c.outline(ink);
    return c;
}

Canvas autumn() {
    Canvas c(15, 9);
    c.shadedEllipse(7.5, 5, 6, 3.8, 0xffffa84a, 0xfff07a1c, 0xffc05a12);
    c.vline(5, 2, 7, 0xffc05a12);
    c.vline(9, 2, 7, 0xffc05a12);
    c.rect(7, 0, 2, 2, 0xff5e7a2a);
    c.outline(ink);
    c.set(0, 8, 0xffd9482a);
    c.set(1, 7, 0xffe8a22a);
    c.set(14, 7, 0xffd9482a);
    return c;
}

Canvas winter() {
    Canvas c(13, 17);
    const QRgb snow = 0xfff4f8ff, snowShade = 0xffc8d6ea, snowLight = 0xffffffff;
    c.shadedEllipse(6.5, 12.5, 5.5, 4.5, snowLight, snow, snowShade);
    c.shadedEllipse(6.5, 5.5, 3.8, 3.6, snowLight, snow, snowShade);
    c.set(5, 5, ink);
    c.set(8, 5, ink);
    c.rect(9, 6, 2, 1, 0xfff07a1c);
    c.hline(3, 9, 8, 0xffd9482a);
    c.vline(8, 9, 10, 0xffd9482a);
    c.rect(4, 0, 5, 2, ink);
    c.hline(3, 9, 2, ink);
    c.outline(ink);
    return c;
}

Canvas crate(int fill) {
    Canvas c(28, 22);
    const int top = 8;
    // fruit heaped inside first, the front boards then cover its bottom
    if (fill > 0) {
        const KindArt& lemon = kinds[0];
        const int rows = fill == 1 ? 1 : 3;
        for (int r = 0; r < rows; ++r) {
            const int y = fill == 1 ? top - 1 : top - 3 - r * 2;
            const int inset = r * 2;
            for (int x = 3 + inset; x + 5 <= 25 - inset; x += 4) {
                drawSmallFruit(c, lemon, x + (r % 2) * 2, y);
            }
        }
    }
    c.rect(1, top + 2, 26, 12, wood);
    for (int y = top + 2; y < top + 14; y += 4) {
        c.hline(1, 26, y, woodLight);
        c.hline(1, 26, y + 3, woodShade);
    }
    c.rect(1, top + 2, 3, 12, woodShade);
    c.rect(24, top + 2, 3, 12, woodShade);
    c.vline(2, top + 2, top + 13, wood);
    c.vline(25, top + 2, top + 13, wood);
    c.set(2, top + 4, ink);
    c.set(25, top + 4, ink);
    c.set(2, top + 11, ink);
    c.set(25, top + 11, ink);
    c.outline(ink);
    return c;
}

std::vector<Canvas> lantern() {
    std::vector<Canvas> frames;
    const QRgb glows[3] = {0xffffe58a, 0xffffd05a, 0xfffff2b0};
    for (int f = 0; f < 3; ++f) {
        Canvas c(12, 26);
        const QRgb post = 0xff5a4030;
        c.rect(5, 6, 2, 20, post);
        c.hline(3, 8, 25, post);
        c.hline(5, 9, 5, post);
        c.vline(9, 5, 7, post);
        // the lamp hangs from the arm
        c.rect(8, 8, 3, 1, 0xff3a3a44);
        c.rect(7, 9, 5, 6, glows[f]);
        c.rect(8, 10, 3, 4, f == 1 ? 0xffff9a2a : 0xffffb84a);
        c.set(9, 11, 0xffffffff);
        c.hline(7, 11, 15, 0xff3a3a44);
        c.outline(ink);
        // a soft halo that breathes with the flame
        const int halo = f == 2 ? 2 : 1;
        for (int y = 9 - halo; y < 15 + halo; ++y) {
            for (int x = 7 - halo; x < 12 + halo; ++x) {
                if (!c.filled(x, y) && (x + y + f) % 2 == 0) {
                    c.set(x, y, 0x66ffe58a);
                }
            }
        }
        frames.push_back(c);
    }
    return frames;
}

} // namespace

void drawScenery(ArtSet& art) {
    art.add("scenery", "ground-0", ground());
    art.add("scenery", "season-spring", spring());
    art.add("scenery", "season-summer", summer());
    art.add("scenery", "season-autumn", autumn());
    art.add("scenery", "season-winter", winter());
    for (int fill = 0; fill < 3; ++fill) {
        art.add("scenery", "crate-" + QString::number(fill), crate(fill));
    }
    art.addRun("scenery", "lantern", lantern());
}
