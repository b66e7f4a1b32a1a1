#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"
#include "art/Kinds.h"

#include <cmath>

namespace {

std::vector<Canvas> sparkle() {
    std::vector<Canvas> frames;
    const int arms[5] = {1, 2, 4, 3, 1};
    for (int f = 0; f < 5; ++f) {
        Canvas c(11, 11);
        const int a = arms[f];
        const QRgb tip = f < 3 ? 0xfffff2a0 : 0xffffd84a;
        c.hline(5 - a, 5 + a, 5, tip);
        c.vline(5, 5 - a, 5 + a, tip);
        if (a >= 2) {
            c.hline(4, 6, 5, 0xffffffff);
            c.vline(5, 4, 6, 0xffffffff);
        }
        if (f == 2 || f == 3) {
            c.set(2, 2, 0xffffe070);
            c.set(8, 8, 0xffffe070);
            c.set(8, 2, 0xfffff6c8);
        }
        c.set(5, 5, 0xffffffff);
        frames.push_back(c);
    }
    return frames;
}

std::vector<Canvas> dust() {
    std::vector<Canvas> frames;
    for (int f = 0; f < 5; ++f) {
        Canvas c(18, 10);
        const double spread = 2.5 + f * 1.3;
        const double rise = f * 0.8;
        c.shadedEllipse(9 - spread, 7 - rise, 2.5 + f * 0.3, 2.2, 0xffe2cfa8, 0xffc4a77a, 0xff9a7c52);
        c.shadedEllipse(9 + spread, 7 - rise, 2.5 + f * 0.3, 2.2, 0xffe2cfa8, 0xffc4a77a, 0xff9a7c52);
        c.shadedEllipse(9, 6.5 - rise * 1.5, 2 + f * 0.4, 2, 0xffe2cfa8, 0xffc4a77a, 0xff9a7c52);
        if (f >= 3) {
            c.thin(f == 3 ? 5 : 3, 17 + f);
        }
        frames.push_back(c);
    }
    return frames;
}

std::vector<Canvas> water() {
    std::vector<Canvas> frames;
    const QRgb drop = 0xff6ec3f4, dropLight = 0xffd8f2ff, dropShade = 0xff3a8ed0;
    for (int f = 0; f < 5; ++f) {
        Canvas c(13, 12);
        if (f < 2) {
            for (int i = 0; i < 3; ++i) {
                const int x = 3 + i * 3, y = 1 + f * 4 + (i % 2) * 2;
                c.vline(x, y, y + 1, drop);
                c.set(x, y, dropLight);
            }
        } else {
            const int r = f - 1;
            c.hline(6 - r * 2, 6 + r * 2, 11, dropShade);
            c.set(6 - r * 2 - 1, 10 - r, drop);
            c.set(6 + r * 2 + 1, 10 - r, drop);
            c.set(6 - r, 9 - r, dropLight);
            c.set(6 + r, 9 - r, dropLight);
            if (f == 4) {
                c.thin(4, 23);
            }
        }
        frames.push_back(c);
    }
    return frames;
}

std::vector<Canvas> coin() {
    std::vector<Canvas> frames;
    const double widths[6] = {3.5, 2.6, 1.2, 0.6, 1.2, 2.6};
    for (int f = 0; f < 6; ++f) {
        Canvas c(9, 9);
        const double w = widths[f];
        c.shadedEllipse(4.5, 4.5, w, 3.5, 0xfffff0a0, 0xfff5c232, f == 3 ? 0xffb07d16 : 0xffd49a1e);
        if (w > 2) {
            c.vline(4, 3, 5, 0xffb07d16);
        }
        c.outline(ink);
        frames.push_back(c);
    }
    return frames;
}

std::vector<Canvas> firefly() {
    std::vector<Canvas> frames;
    const int glow[4] = {0, 1, 2, 1};
    for (int f = 0; f < 4; ++f) {
        Canvas c(7, 7);
        const int g = glow[f];
        if (g >= 1) {
            c.set(3, 2, 0x88e6ff7a);
            c.set(3, 4, 0x88e6ff7a);
            c.set(2, 3, 0x88e6ff7a);
            c.set(4, 3, 0x88e6ff7a);
        }
        if (g == 2) {
            c.set(3, 1, 0x55e6ff7a);
            c.set(3, 5, 0x55e6ff7a);
            c.set(1, 3, 0x55e6ff7a);
            c.set(5, 3, 0x55e6ff7a);
        }
        c.set(3, 3, g == 0 ? 0xffc8e060 : 0xfffaffc0);
        frames.push_back(c);
    }
    return frames;
}

} // namespace

void drawEffects(ArtSet& art) {
    art.addRun("effects", "fx-sparkle", sparkle());
    art.addRun("effects", "fx-dust", dust());
    art.addRun("effects", "fx-water", water());
    art.addRun("effects", "fx-coin", coin());
    art.addRun("effects", "fx-firefly", firefly());
}
