#include "art/Fruit.h"

#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"

#include <cmath>

QSize smallFruitSize(FruitShape shape) {
    switch (shape) {
    case FruitShape::tiny:
        return {4, 4};
    case FruitShape::oval:
        return {4, 5};
    case FruitShape::round:
    case FruitShape::blood:
        return {5, 5};
    case FruitShape::flat:
        return {6, 5};
    case FruitShape::big:
    case FruitShape::knob:
        return {7, 7};
    case FruitShape::fingers:
        return {7, 8};
    case FruitShape::lemon:
    case FruitShape::roundish:
    case FruitShape::pinkLemon:
    case FruitShape::golden:
        break;
    }
    return {5, 6};
}

void drawSmallFruit(Canvas& canvas, const KindArt& kind, int x, int y) {
    const std::initializer_list<std::pair<char, QRgb>> key = {
        {'O', ink},         {'H', kind.fruitLight}, {'M', kind.fruitBody}, {'L', kind.fruitShade},
        {'S', kind.accent}, {'W', 0xffffffff},      {'G', kind.leafShade},
    };
    // clang-format off
    switch (kind.fruit) {
    case FruitShape::lemon:
        canvas.grid(x, y, {"..O..", ".OHO.", "OHMMO", "OMMLO", ".OLO.", "..O.."}, key);
        break;
    case FruitShape::golden:
        canvas.grid(x, y, {"..O..", ".OWO.", "OHMMO", "OMMLO", ".OLO.", "..O.."}, key);
        break;
    case FruitShape::pinkLemon:
        canvas.grid(x, y, {"..O..", ".OHO.", "OHSMO", "OMSLO", ".OSO.", "..O.."}, key);
        break;
    case FruitShape::roundish:
        canvas.grid(x, y, {".OOO.", "OHHMO", "OHMMO", "OMMLO", ".OLO.", "..O.."}, key);
        break;
    case FruitShape::oval:
        canvas.grid(x, y, {".OO.", "OHMO", "OMMO", "OMLO", ".OO."}, key);
        break;
    case FruitShape::tiny:
        canvas.grid(x, y, {".OO.", "OHSO", "OMSO", ".OO."}, key);
        break;
    case FruitShape::round:
        canvas.grid(x, y, {".OOO.", "OHMMO", "OMMMO", "OMMLO", ".OOO."}, key);
        break;
    case FruitShape::blood:
        canvas.grid(x, y, {".OOO.", "OHMMO", "OMMSO", "OMSLO", ".OOO."}, key);
        break;
    case FruitShape::flat:
        canvas.grid(x, y, {".O.OO.", "OHHMMO", "OHMMMO", "OMMMLO", ".OOOO."}, key);
        break;
    case FruitShape::big:
        canvas.grid(x, y, {"..OOO..", ".OHHMO.", "OHHMMMO", "OHMMMMO", "OMMMMLO", ".OMMLO.", "..OOO.."}, key);
        break;
    case FruitShape::knob:
        canvas.grid(x, y, {"..OOO..", "..OHO..", ".OHMMO.", "OHMMMMO", "OMMMMLO", ".OMMLO.", "..OOO.."}, key);
        break;
    case FruitShape::fingers:
        canvas.grid(x, y, {"..OOO..", ".OHMMO.", "OHMMMLO", "OMMMMLO", "OMOMOMO", "OMOMOLO", "OMOLOLO", ".O.O.O."},
                    key);
        break;
    }
    // clang-format on
}

void drawFruitIcon(Canvas& c, const KindArt& k, int size) {
    const double s = size;
    const double mid = (s - 1) / 2.0 + 0.5;
    const QRgb L = k.fruitLight, M = k.fruitBody, D = k.fruitShade;
    auto leaf = [&](double lx, double ly) {
        const double r = std::max(1.0, s * 0.09);
        c.ellipse(lx + r, ly, r * 1.6, r * 0.9, k.leaf);
        c.set(static_cast<int>(lx + r * 2), static_cast<int>(ly) - 1, k.leafLight);
        c.vline(static_cast<int>(lx), static_cast<int>(ly), static_cast<int>(ly + r), k.leafShade);
    };
    switch (k.fruit) {
    case FruitShape::lemon:
    case FruitShape::golden:
    case FruitShape::pinkLemon: {
        const double rx = s * 0.36, ry = s * 0.28;
        c.shadedEllipse(mid, mid + s * 0.04, rx, ry, L, M, D);
        // the nubs at both ends are what make a lemon a lemon
        const int ny = static_cast<int>(mid + s * 0.04);
        const int n = std::max(1, size / 8);
        c.rect(static_cast<int>(mid - rx) - n, ny - (n > 1 ? 1 : 0), n, n > 1 ? 2 : 1, M);
        c.rect(static_cast<int>(mid + rx), ny - (n > 1 ? 1 : 0), n, n > 1 ? 2 : 1, D);
        if (k.fruit == FruitShape::pinkLemon) {
            for (int x = 0; x < size; ++x) {
                for (int y = 0; y < size; ++y) {
                    if (c.at(x, y) == M && (x + size) % std::max(3, size / 4) == 0) {
                        c.set(x, y, k.accent);
                    }
                }
            }
        }
        leaf(mid - s * 0.02, mid - ry - s * 0.02);
        break;
    }
    case FruitShape::roundish:
        c.shadedEllipse(mid, mid + s * 0.04, s * 0.33, s * 0.31, L, M, D);
        c.rect(static_cast<int>(mid + s * 0.33), static_cast<int>(mid + s * 0.04), std::max(1, size / 10), 1, D);
        leaf(mid - s * 0.05, mid - s * 0.3);
        break;
    case FruitShape::oval:
        c.shadedEllipse(mid, mid + s * 0.05, s * 0.25, s * 0.33, L, M, D);
        leaf(mid, mid - s * 0.3);
        break;
    case FruitShape::tiny:
        c.shadedEllipse(mid, mid + s * 0.05, s * 0.3, s * 0.3, L, M, D);
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                if (c.filled(x, y) && x + y > size + 1) {
                    c.set(x, y, k.accent);
                }
            }
        }
        leaf(mid - s * 0.05, mid - s * 0.27);
        break;
    case FruitShape::round:
        c.shadedEllipse(mid, mid + s * 0.04, s * 0.35, s * 0.35, L, M, D);
        leaf(mid - s * 0.05, mid - s * 0.32);
        break;
    case FruitShape::blood:
        c.shadedEllipse(mid, mid + s * 0.04, s * 0.37, s * 0.36, L, M, D);
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                if (c.at(x, y) == M && (x * 2 + y * 3 > size * 3 || pixelHash(x, y, 5) % 5 == 0)) {
                    c.set(x, y, k.accent);
                }
            }
        }
        leaf(mid - s * 0.05, mid - s * 0.33);
        break;
    case FruitShape::flat:
        c.shadedEllipse(mid, mid + s * 0.06, s * 0.4, s * 0.3, L, M, D);
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                if (c.at(x, y) == M && pixelHash(x, y, 9) % 6 == 0) {
                    c.set(x, y, D);
                }
            }
        }
        leaf(mid - s * 0.05, mid - s * 0.25);
        break;
    case FruitShape::big:
        c.shadedEllipse(mid, mid + s * 0.02, s * 0.44, s * 0.42, L, M, D);
        break;
    case FruitShape::knob:
        c.shadedEllipse(mid, mid + s * 0.12, s * 0.4, s * 0.32, L, M, D);
        // the hallabong's knob: a smaller dome set off from the body by a shaded crease
        c.shadedEllipse(mid, mid - s * 0.2, s * 0.19, s * 0.17, D, D, D);
        c.shadedEllipse(mid - 0.3, mid - s * 0.23, s * 0.13, s * 0.12, L, M, M);
        leaf(mid + s * 0.05, mid - s * 0.36);
        break;
    case FruitShape::fingers: {
        c.shadedEllipse(mid, mid - s * 0.14, s * 0.3, s * 0.22, L, M, D);
        const int fingers = size >= 12 ? 5 : 3;
        const double span = s * 0.56;
        for (int i = 0; i < fingers; ++i) {
            const double fx = mid - span / 2 + span * i / (fingers - 1);
            const double len = s * (0.28 + 0.08 * ((i % 2) == 0));
            c.shadedEllipse(fx, mid + len * 0.55, std::max(0.6, s * 0.06), len * 0.6, L, M, D);
        }
        leaf(mid - s * 0.05, mid - s * 0.36);
        break;
    }
    }
    c.outline(ink);
    if (k.fruit == FruitShape::golden) {
        // the golden lemon glints: a white star on the peel
        const int gx = static_cast<int>(mid - s * 0.12), gy = static_cast<int>(mid - s * 0.06);
        c.set(gx, gy, 0xffffffff);
        if (size >= 12) {
            c.set(gx - 1, gy, 0xfffff6b8);
            c.set(gx + 1, gy, 0xfffff6b8);
            c.set(gx, gy - 1, 0xfffff6b8);
            c.set(gx, gy + 1, 0xfffff6b8);
            c.set(size - 3, 2, 0xffffffff);
            c.set(size - 4, 2, 0xfffff6b8);
            c.set(size - 2, 2, 0xfffff6b8);
            c.set(size - 3, 1, 0xfffff6b8);
            c.set(size - 3, 3, 0xfffff6b8);
        }
    }
}

void drawFruit(ArtSet& art) {
    for (const KindArt& kind : kinds) {
        Canvas flying(9, 9);
        drawFruitIcon(flying, kind, 9);
        art.add("fruit", QString("fruit-") + kind.name, flying);
    }
    for (const KindArt& kind : kinds) {
        Canvas icon(16, 16);
        drawFruitIcon(icon, kind, 16);
        art.add("window fruit icons", QString("ui-fruit-") + kind.name, icon);
    }
}
