#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"
#include "art/Fruit.h"
#include "art/Kinds.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

Canvas coin() {
    Canvas c(12, 12);
    c.shadedEllipse(6, 6, 5, 5, 0xfffff0a0, 0xfff5c232, 0xffd49a1e);
    c.ellipse(6, 6, 3, 3, 0xffe8b028);
    c.vline(5, 4, 7, 0xfffff0a0);
    c.vline(6, 4, 7, 0xffb07d16);
    c.outline(ink);
    return c;
}

// Menu icons sit on light and dark panels alike: a dark ink rim with a bright fill reads on both.
Canvas menuLemon(bool full) {
    Canvas c(22, 22);
    const KindArt& lemon = kinds[0];
    if (!full) {
        c.shadedEllipse(11, 12, 8, 6, lemon.fruitLight, lemon.fruitBody, lemon.fruitShade);
        c.rect(2, 11, 1, 2, lemon.fruitBody);
        c.rect(19, 11, 1, 2, lemon.fruitShade);
        c.ellipse(13, 4.5, 3, 1.6, kinds[0].leaf);
        c.vline(11, 4, 6, kinds[0].leafShade);
        c.set(7, 9, 0xffffffff);
        c.outline(ink);
        return c;
    }
    // the crate brims over: three lemons heaped above its boards
    c.shadedEllipse(6.5, 9, 4.6, 3.6, lemon.fruitLight, lemon.fruitBody, lemon.fruitShade);
    c.shadedEllipse(15.5, 9, 4.6, 3.6, lemon.fruitLight, lemon.fruitBody, lemon.fruitShade);
    c.shadedEllipse(11, 5, 4.6, 3.6, lemon.fruitLight, lemon.fruitBody, lemon.fruitShade);
    c.set(9, 3, 0xffffffff);
    c.rect(2, 12, 18, 8, 0xffc08a4e);
    c.hline(2, 19, 12, 0xffdcaa6a);
    c.hline(2, 19, 15, 0xff8e5f32);
    c.hline(2, 19, 16, 0xffdcaa6a);
    c.hline(2, 19, 19, 0xff8e5f32);
    c.outline(ink);
    return c;
}

// The application icon, drawn afresh at each small size rather than scaled: a lemon over a rounded
// sky-and-grass tile. Larger sizes are whole multiples of these.
Canvas appIcon(int n) {
    Canvas c(n, n);
    const double k = n / 32.0;
    const QRgb leafGreen = 0xff5fae48, leafDark = 0xff3f8a3a;
    const double radius = std::max(1.5, 3 * k);
    const double near = 0.5 + radius, far = n - 1.5 - radius;
    const int skyEnd = static_cast<int>(std::lround(12 * k));
    const int grass = static_cast<int>(std::lround(22 * k));
    const int grassHeight = std::max(1, static_cast<int>(std::lround(3 * k)));
    for (int y = 1; y < n - 1; ++y) {
        for (int x = 1; x < n - 1; ++x) {
            const bool corner = (x < near || x > far) && (y < near || y > far) &&
                                std::hypot(std::min(std::abs(x - near), std::abs(x - far)),
                                           std::min(std::abs(y - near), std::abs(y - far))) > radius;
            if (!corner) {
                c.set(x, y, y >= grass + grassHeight ? leafDark : (y < skyEnd ? 0xff8fd0f0 : 0xffb8e4f4));
            }
        }
    }
    c.rect(1, grass, n - 2, grassHeight, leafGreen);
    const int size = static_cast<int>(std::lround(20 * k));
    Canvas lemon(size, size);
    drawFruitIcon(lemon, kinds[0], size);
    c.blit(lemon, (n - size) / 2, static_cast<int>(std::lround(5 * k)));
    c.outline(ink);
    return c;
}

QRgb shiftHue(QRgb color, double hue) {
    QColor c = QColor::fromRgb(color);
    return QColor::fromHsvF(static_cast<float>(hue / 360.0), c.hsvSaturationF(), c.valueF()).rgb();
}

// The wide header: sky, hills, a row of the grown trees, the crate and the crew, all from the set itself.
// 300 × 85 is the card's 600 × 170 frame at exactly 2x; the window's 120-point header shows its lower
// 60 rows at 2x, so everything that matters stands in those.
Canvas keyArt(const ArtSet& art) {
    constexpr int w = 300;
    constexpr int h = 85;
    constexpr int ground = h - 8;
    Canvas c(w, h);
    const QRgb bands[6] = {0xff8fd0f0, 0xff9dd6f2, 0xffaadcf3, 0xffb8e2f4, 0xffc6e8f5, 0xffd4eef6};
    for (int y = 0; y < h; ++y) {
        c.hline(0, w - 1, y, bands[std::min(5, std::max(0, y - 13) / 8)]);
    }
    c.ellipse(252, 33, 7, 7, 0xfffff2b0);
    c.ellipse(252, 33, 5.5, 5.5, 0xffffe27a);
    for (int x = 0; x < w; ++x) {
        const int far = ground - 22 + static_cast<int>(5 * std::sin(x / 23.0) + 3 * std::sin(x / 9.0 + 1));
        c.vline(x, far, h - 1, 0xff9ccf8a);
        const int near = ground - 12 + static_cast<int>(4 * std::sin(x / 31.0 + 2));
        c.vline(x, near, h - 1, 0xff7cbc66);
    }
    const QImage soil = art.image("ground-0");
    for (int x = 0; x < w; x += soil.width()) {
        for (int y = 0; y < soil.height(); ++y) {
            for (int i = 0; i < soil.width() && x + i < w; ++i) {
                if (qAlpha(soil.pixel(i, y)) != 0) {
                    c.set(x + i, ground + y, soil.pixel(i, y));
                }
            }
        }
    }
    auto place = [&](const QImage& image, int x, int bottom) {
        for (int y = 0; y < image.height(); ++y) {
            for (int i = 0; i < image.width(); ++i) {
                if (qAlpha(image.pixel(i, y)) != 0) {
                    c.set(x + i, bottom - image.height() + y, image.pixel(i, y));
                }
            }
        }
    };
    const char* row[5] = {"eureka", "blood", "yuja", "lime", "golden"};
    for (int i = 0; i < 5; ++i) {
        place(art.image(QString("tree-") + row[i] + "-6"), 60 + i * 46, ground + 3);
    }
    place(art.image("crate-2"), 12, ground + 5);
    place(workerFrame(2, 0, 2, "carry", 0).image(), 40, h - 1);
    place(workerFrame(0, 1, 2, "dig", 1).image(), 134, h - 1);
    place(workerFrame(1, 0, 3, "water", 2).image(), 226, h - 1);
    return c;
}

// A stretch of strip as the player sees it, for judging sizes together.
QImage stripPreview(const ArtSet& art) {
    QImage strip(360, 72, QImage::Format_ARGB32);
    strip.fill(QColor(0xb8, 0xe2, 0xf4));
    QPainter p(&strip);
    auto stand = [&](const QString& name, int centreX, int y) {
        const QImage image = art.image(name);
        p.drawImage(centreX - image.width() / 2, 72 - y - image.height(), image);
    };
    for (int x = 0; x < 360; x += 32) {
        p.drawImage(x, 72 - 8, art.image("ground-0"));
    }
    stand("crate-1", 30, 4);
    stand("tree-eureka-6", 150, 6);
    stand("tree-kumquat-2", 210, 6);
    stand("tree-buddha-6", 270, 6);
    stand("tree-pink-5", 330, 6);
    stand("harvesterb-t4-carry-0", 56, 2);
    stand("planter-t1-dig-1", 128, 2);
    stand("caretaker-t3-water-2", 244, 2);
    stand("season-spring", 100, 4);
    return strip;
}

} // namespace

void drawInterface(ArtSet& art) {
    art.add("interface", "ui-coin", coin());
    art.add("interface", "MenuLemon", menuLemon(false));
    art.add("interface", "MenuLemonFull", menuLemon(true));
    art.add("interface", "AppIcon", appIcon(32));
    for (const int n : {16, 22, 24}) {
        art.add("interface", QString("AppIcon-%1").arg(n), appIcon(n));
    }
    art.add("interface", "KeyArt", keyArt(art));

    // Review only: the menu icons on a light and a dark panel, and every dye on every role.
    for (const QRgb panel : {0xffeeeeee, 0xff2a2a2e}) {
        QImage icons(52, 26, QImage::Format_ARGB32);
        icons.fill(panel);
        QPainter p(&icons);
        p.drawImage(2, 2, art.image("MenuLemon"));
        p.drawImage(28, 2, art.image("MenuLemonFull"));
        p.end();
        art.addPreview("previews", panel == 0xffeeeeee ? "menu, light panel" : "menu, dark panel", icons, 2);
    }
    const double hues[6] = {355, 25, 125, 200, 275, 325};
    const char* roleNames[3] = {"planter", "caretaker", "harvester"};
    const QRgb shirts[3][2] = {{0xffe0883a, 0xffb4652a}, {0xff4a8fd8, 0xff3568a8}, {0xffd8464a, 0xffa83038}};
    for (int r = 0; r < 3; ++r) {
        for (int variant = 0; variant < 2; ++variant) {
            QImage row(24 * 7, 24, QImage::Format_ARGB32);
            row.fill(0);
            QPainter p(&row);
            const Canvas base = workerFrame(r, variant, 2, "idle", 0);
            p.drawImage(0, 0, base.image());
            for (int d = 0; d < 6; ++d) {
                Canvas dyed = base;
                dyed.replace(shirts[r][0], shiftHue(shirts[r][0], hues[d]));
                dyed.replace(shirts[r][1], shiftHue(shirts[r][1], hues[d]));
                p.drawImage(24 * (d + 1), 0, dyed.image());
            }
            p.end();
            const QString label = QString("dyes ") + roleNames[r] + (variant ? "b" : "");
            art.addPreview("previews", label + " 1x", row, 1);
            art.addPreview("previews", label + " 2x", row, 2);
        }
    }
    art.addPreview("previews", "strip 1x", stripPreview(art), 1);
    art.addPreview("previews", "strip 2x", stripPreview(art), 2);
}
