#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"
#include "art/Fruit.h"
#include "art/Kinds.h"
#include "model/TreeStage.h"

#include <algorithm>
#include <vector>

namespace {

struct Blob {
    double x, y, r;
};

constexpr QRgb bark = 0xff8a5a34;
constexpr QRgb barkShade = 0xff5e3a22;
constexpr QRgb barkLight = 0xffa8744a;
constexpr QRgb soil = 0xff7a5233;
constexpr QRgb soilShade = 0xff5a3a24;

// Leaf clumps of a grown tree on its 46 x 56 canvas, drawn in order, main mass first.
std::vector<Blob> canopyOf(Canopy canopy) {
    switch (canopy) {
    case Canopy::round:
        return {{23, 21, 15}, {13, 25, 9}, {33, 25, 9}, {18, 13, 9}, {29, 13, 9}, {23, 29, 10}};
    case Canopy::bush:
        return {{23, 28, 13}, {12, 31, 9}, {34, 31, 9}, {16, 21, 9}, {30, 21, 9}, {23, 15, 8}, {23, 34, 9}};
    case Canopy::lush:
        return {{23, 22, 17}, {9, 27, 8}, {37, 27, 8}, {16, 12, 9}, {30, 12, 9}, {23, 31, 10}};
    case Canopy::tall:
        return {{23, 22, 11}, {23, 11, 9}, {23, 6, 5}, {17, 29, 8}, {29, 29, 8}, {23, 33, 7}};
    case Canopy::wide:
        return {{23, 22, 12}, {9, 24, 8}, {37, 24, 8}, {15, 17, 9}, {31, 17, 9}, {5, 27, 5}, {41, 27, 5}};
    case Canopy::crown:
        return {{23, 19, 14}, {23, 10, 9}, {14, 24, 9}, {32, 24, 9}, {23, 29, 9}};
    case Canopy::spiky:
        return {{23, 21, 13}, {12, 23, 8}, {34, 21, 8}, {19, 11, 8}, {30, 13, 7}, {23, 30, 8}};
    case Canopy::broad:
        return {{23, 21, 17}, {9, 26, 8}, {37, 26, 8}, {15, 11, 10}, {31, 11, 10}, {23, 30, 11}};
    case Canopy::weeping:
        return {{23, 17, 13}, {13, 21, 8}, {33, 21, 8}, {23, 9, 8}};
    }
    return {};
}

double canopyBottom(const std::vector<Blob>& blobs) {
    double bottom = 0;
    for (const Blob& b : blobs) {
        bottom = std::max(bottom, b.y + b.r);
    }
    return bottom;
}

bool isLeaf(const Canvas& c, const KindArt& k, int x, int y) {
    const QRgb p = c.at(x, y);
    return p == k.leaf || p == k.leafLight || p == k.leafShade;
}

// Clumps lit from the upper left, with a sprinkle of lighter leaves for texture.
void paintCanopy(Canvas& c, const KindArt& k, const std::vector<Blob>& blobs, double scale, double cx, double top,
                 int seed) {
    for (const Blob& b : blobs) {
        c.shadedEllipse(cx + (b.x - 23) * scale, top + b.y * scale, b.r * scale, b.r * scale, k.leafLight, k.leaf,
                        k.leafShade);
    }
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const int h = pixelHash(x, y, seed);
            if (c.at(x, y) == k.leaf && h % 9 == 0) {
                c.set(x, y, k.leafLight);
            } else if (c.at(x, y) == k.leafShade && h % 8 == 0) {
                c.set(x, y, k.leaf);
            }
        }
    }
    if (k.canopy == Canopy::weeping) {
        // drooping curtains of leaves down both sides
        for (int i = 0; i < 8; ++i) {
            const int x = static_cast<int>(cx + (-19 + i * 2 + (i >= 4 ? 22 : 0)) * scale);
            const int y0 = static_cast<int>(top + 22 * scale);
            const int len = static_cast<int>((9 + (i * 5) % 7) * scale);
            for (int y = y0; y < y0 + len; ++y) {
                c.set(x, y, (y - y0) % 3 == 2 ? k.leafShade : k.leaf);
            }
        }
    }
    if (k.canopy == Canopy::spiky) {
        // yuja is a thorny, ragged tree: leaf points stick out of the outline
        const std::vector<std::pair<int, int>> tips = {{2, 21},  {6, 15},  {13, 5},  {22, 2}, {31, 6},
                                                       {39, 14}, {43, 22}, {36, 30}, {9, 30}};
        for (const auto& [tx, ty] : tips) {
            const int x = static_cast<int>(cx + (tx - 23) * scale);
            const int y = static_cast<int>(top + ty * scale);
            c.set(x, y, k.leaf);
            c.set(x + (tx < 23 ? 1 : -1), y + (ty < 20 ? 1 : 0), k.leaf);
        }
    }
}

void paintTrunk(Canvas& c, int cx, int top, int bottom, int width) {
    for (int y = top; y <= bottom; ++y) {
        const int w = y > bottom - 2 ? width + 2 : width;
        const int x0 = cx - w / 2;
        for (int x = x0; x < x0 + w; ++x) {
            c.set(x, y, x == x0 ? barkLight : (x == x0 + w - 1 ? barkShade : bark));
        }
    }
}

// Points inside the canopy where a w x h sprite fits on leaves without touching another one.
std::vector<std::pair<int, int>> spotsFor(const Canvas& c, const KindArt& k, int w, int h, int count, int seed,
                                          int minY) {
    std::vector<std::pair<int, int>> spots;
    std::vector<std::pair<int, int>> candidates;
    for (int y = minY; y + h <= c.height(); ++y) {
        for (int x = 0; x + w <= c.width(); ++x) {
            bool inside = true;
            for (int j = -1; j <= h && inside; ++j) {
                for (int i = -1; i <= w && inside; ++i) {
                    inside = isLeaf(c, k, x + i, y + j);
                }
            }
            if (inside) {
                candidates.emplace_back(x, y);
            }
        }
    }
    std::sort(candidates.begin(), candidates.end(), [seed](const auto& a, const auto& b) {
        return pixelHash(a.first, a.second, seed) < pixelHash(b.first, b.second, seed);
    });
    for (const auto& candidate : candidates) {
        // Named copies rather than a structured binding: clang before 16 cannot capture a binding.
        const int x = candidate.first;
        const int y = candidate.second;
        if (static_cast<int>(spots.size()) == count) {
            break;
        }
        const bool clear = std::none_of(spots.begin(), spots.end(), [&](const auto& s) {
            return x < s.first + w + 1 && s.first < x + w + 1 && y < s.second + h + 1 && s.second < y + h + 1;
        });
        if (clear) {
            spots.emplace_back(x, y);
        }
    }
    return spots;
}

Canvas grownTree(const KindArt& k, int index) {
    Canvas c(46, 56);
    const auto blobs = canopyOf(k.canopy);
    const int bottom = static_cast<int>(canopyBottom(blobs));
    paintTrunk(c, 23, bottom - 6, 55, k.canopy == Canopy::tall ? 3 : 4);
    // two branches into the crown, seen through the leaves' gaps at the bottom
    c.line(22, bottom - 4, 17, bottom - 9, barkShade);
    c.line(24, bottom - 4, 29, bottom - 10, bark);
    paintCanopy(c, k, blobs, 1.0, 23, 0, 11 + index);
    if (k.canopy == Canopy::spiky) {
        c.set(21, 44, barkShade);
        c.set(20, 44, barkShade);
        c.set(26, 48, barkShade);
        c.set(27, 48, barkShade);
    }
    return c;
}

void blossom(Canvas& c, const KindArt& k, int index) {
    const QRgb centre = 0xfff2c94c;
    for (const auto& [x, y] : spotsFor(c, k, 3, 3, 11, 101 + index, 3)) {
        c.set(x + 1, y, k.blossom);
        c.set(x, y + 1, k.blossom);
        c.set(x + 2, y + 1, k.blossom);
        c.set(x + 1, y + 2, k.blossom);
        c.set(x + 1, y + 1, centre);
    }
}

void fruit(Canvas& c, const KindArt& k, int index) {
    const QSize size = smallFruitSize(k.fruit);
    const auto spots = spotsFor(c, k, size.width(), size.height(), k.fruitCount, 201 + index, 8);
    for (const auto& [x, y] : spots) {
        drawSmallFruit(c, k, x, y);
    }
    if (k.fruit == FruitShape::golden) {
        for (std::size_t i = 0; i < spots.size(); i += 3) {
            const int x = spots[i].first + 5, y = spots[i].second - 1;
            c.set(x, y, 0xffffffff);
            c.set(x - 1, y, 0xfffff6b8);
            c.set(x + 1, y, 0xfffff6b8);
            c.set(x, y - 1, 0xfffff6b8);
            c.set(x, y + 1, 0xfffff6b8);
        }
    }
}

Canvas youngTree(const KindArt& k, int index) {
    Canvas c(28, 36);
    const auto blobs = canopyOf(k.canopy);
    const double scale = 0.52;
    const int bottom = static_cast<int>(canopyBottom(blobs) * scale) + 1;
    paintTrunk(c, 14, bottom - 4, 35, 2);
    paintCanopy(c, k, blobs, scale, 14, 1, 31 + index);
    c.outline(ink);
    return c;
}

Canvas sapling(const KindArt& k) {
    Canvas c(16, 22);
    c.vline(8, 8, 21, bark);
    c.vline(7, 20, 21, barkShade);
    c.line(8, 15, 11, 12, bark);
    c.shadedEllipse(8, 6.5, 4.5, 4, k.leafLight, k.leaf, k.leafShade);
    c.shadedEllipse(12, 11, 2.5, 2, k.leafLight, k.leaf, k.leafShade);
    c.shadedEllipse(4.5, 13.5, 2.5, 2, k.leafLight, k.leaf, k.leafShade);
    c.line(5, 14, 8, 16, bark);
    c.outline(ink);
    return c;
}

Canvas seedling(const KindArt& k) {
    Canvas c(12, 9);
    c.shadedEllipse(6, 8, 5, 2.5, soil, soil, soilShade);
    c.vline(6, 3, 6, k.leafShade);
    c.rect(3, 2, 3, 2, k.leaf);
    c.set(3, 2, k.leafLight);
    c.rect(7, 1, 3, 2, k.leaf);
    c.set(9, 1, k.leafLight);
    c.outline(ink);
    return c;
}

} // namespace

void drawTrees(ArtSet& art) {
    using pipfield::artNumber;
    using pipfield::TreeStage;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const KindArt& k = kinds[i];
        const int index = static_cast<int>(i);
        const auto name = [&k](TreeStage stage) {
            return QString("tree-") + k.name + "-" + QString::number(artNumber(stage));
        };
        art.add("trees", name(TreeStage::seedling), seedling(k));
        art.add("trees", name(TreeStage::sprout), sapling(k));
        art.add("trees", name(TreeStage::sapling), youngTree(k, index));
        Canvas grown = grownTree(k, index);
        Canvas bare = grown;
        bare.outline(ink);
        art.add("trees", name(TreeStage::mature), bare);
        Canvas flowering = grown;
        blossom(flowering, k, index);
        flowering.outline(ink);
        art.add("trees", name(TreeStage::blossom), flowering);
        Canvas bearing = grown;
        fruit(bearing, k, index);
        bearing.outline(ink);
        art.add("trees", name(TreeStage::bearing), bearing);
    }
}
