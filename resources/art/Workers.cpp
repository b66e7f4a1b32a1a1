#include "art/Art.h"
#include "art/ArtSet.h"
#include "art/Canvas.h"
#include "art/Kinds.h"

#include <QPoint>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// Frames are 24 x 24 with the feet on the bottom row; figures face right.
constexpr int frameSize = 24;

struct Role {
    const char* name;
    // Shirt colours are the only dyeable ones: no other pixel of the role may use them.
    QRgb shirt, shirtShade;
    QRgb trousers, trousersShade;
    QRgb hat, hatShade, hatBand;
    std::array<QRgb, 2> hair;
    std::array<QRgb, 2> hairShade;
};

constexpr std::array<Role, 3> roles = {{
    {"planter",
     0xffe0883a,
     0xffb4652a,
     0xff6b4f3a,
     0xff52392a,
     0xffe8c874,
     0xffc9a24e,
     0xff7a3a2a,
     {0xff6a4326, 0xff2a2230},
     {0xff4e301c, 0xff17121c}},
    {"caretaker",
     0xff4a8fd8,
     0xff3568a8,
     0xff3a4466,
     0xff2b3250,
     0xffe6dcc0,
     0xffc4b896,
     0xff3f7f4a,
     {0xffd9a04a, 0xff4a2e22},
     {0xffb07a2e, 0xff321e16}},
    {"harvester",
     0xffd8464a,
     0xffa83038,
     0xff5f6a3a,
     0xff48502b,
     0xfff0d79a,
     0xffcfb070,
     0xff2f6fa0,
     {0xff8a3a22, 0xff1e1a22},
     {0xff6a2a18, 0xff0e0c12}},
}};

constexpr std::array<QRgb, 2> skin = {0xfff6cda6, 0xffc68c5e};
constexpr std::array<QRgb, 2> skinShade = {0xffdca57e, 0xffa06a42};
constexpr QRgb blush = 0xfff09a8a;
constexpr QRgb apron = 0xffeadfc4;
constexpr QRgb apronShade = 0xffcbbd98;
constexpr QRgb gold = 0xffffd23f;
constexpr QRgb goldShade = 0xffd9a520;
constexpr QRgb shoe = 0xff6a4630;
constexpr QRgb boot = 0xff3e2818;
constexpr QRgb bootLight = 0xff5e4030;
constexpr QRgb scarf = 0xff3ab3a8;
constexpr QRgb handle = 0xff9a6a3a;
constexpr QRgb wicker = 0xffc8964e;
constexpr QRgb wickerShade = 0xff9a6c34;
constexpr QRgb fruitYellow = 0xfff2cf2b;
constexpr QRgb fruitLight = 0xfffff27a;
constexpr QRgb waterDrop = 0xff6ec3f4;
constexpr QRgb soilBit = 0xff7a5233;

// Metal of the tools, one step better per gear tier: worn, iron, steel, copper, gold.
struct Metal {
    QRgb light, body, shade;
};
constexpr std::array<Metal, 5> metals = {{
    {0xffb4aca0, 0xff8c857a, 0xff6a645c},
    {0xffc4ccd4, 0xff98a2ac, 0xff6e7882},
    {0xffffffff, 0xffc8d4e0, 0xff8896a8},
    {0xffffd0a0, 0xffe0925a, 0xffa85c32},
    {0xffffffff, gold, goldShade},
}};

enum class Tool { none, shovel, can, basket };
enum class Hold { side, raised, plunge, lever, fling, level, tilt, chest, ground };

struct Pose {
    int dy = 0;   // body bob, down positive
    int lean = 0; // head forward
    int backFoot = 0, frontFoot = 0;
    QPoint backHand{10, 17};
    QPoint frontHand{13, 17};
    bool eyesClosed = false;
    bool mouthOpen = false;
    Tool tool = Tool::none;
    Hold hold = Hold::side;
    bool full = false;                         // basket holds fruit
    int drops = -1;                            // phase of water from the can, -1 for none
    QPoint held{-1, -1};                       // a picked fruit in the hand
    std::vector<std::pair<QPoint, QRgb>> bits; // loose pixels: dirt, scent, sparkle
};

struct Look {
    const Role& role;
    int variant;
    int tier;
};

void leg(Canvas& c, int hipX, int footOffset, QRgb cloth, QRgb clothShade, bool boots) {
    const int fx = hipX + footOffset;
    for (int y = 18; y <= 22; ++y) {
        const int x = hipX + (footOffset * (y - 18)) / 4;
        const bool inBoot = boots && y >= 20;
        c.set(x, y, inBoot ? boot : cloth);
        c.set(x + 1, y, inBoot ? (y == 20 ? bootLight : boot) : clothShade);
    }
    c.hline(fx, fx + 2, 23, boots ? boot : shoe);
}

void arm(Canvas& c, QPoint shoulder, QPoint hand, QRgb sleeve, QRgb skinColor) {
    c.line(shoulder.x(), shoulder.y(), hand.x(), hand.y(), skinColor);
    // short sleeves: the first two pixels of the arm are shirt
    const int sx = shoulder.x() + (hand.x() > shoulder.x() ? 1 : (hand.x() < shoulder.x() ? -1 : 0));
    const int sy = shoulder.y() + (hand.y() > shoulder.y() ? 1 : (hand.y() < shoulder.y() ? -1 : 0));
    c.set(shoulder.x(), shoulder.y(), sleeve);
    c.set(sx, sy, sleeve);
    c.set(hand.x(), hand.y(), skinColor);
}

void hat(Canvas& c, const Look& l, int x, int y) {
    // x, y: top-left of the head
    const Role& r = l.role;
    if (l.tier == 0) {
        return;
    }
    if (l.tier == 1) {
        c.rect(x + 1, y - 2, 5, 2, r.hat);
        c.hline(x + 1, x + 7, y, r.hat);
        c.hline(x + 1, x + 3, y - 2, r.hatShade);
        c.set(x + 8, y, r.hatShade);
        return;
    }
    // a proper brimmed hat from tier 2, banded from tier 3, gold-banded with a badge at tier 4
    c.rect(x + 1, y - 3, 5, 3, r.hat);
    c.hline(x + 1, x + 5, y - 3, r.hatShade);
    c.hline(x - 2, x + 9, y, r.hat);
    c.hline(x - 2, x + 9, y + 1 - 1, r.hat);
    c.set(x - 2, y, r.hatShade);
    c.set(x + 9, y, r.hatShade);
    if (l.tier >= 3) {
        c.hline(x + 1, x + 5, y - 1, l.tier >= 4 ? gold : r.hatBand);
    }
    if (l.tier >= 4) {
        c.set(x + 5, y - 1, goldShade);
        c.set(x + 4, y - 4, gold);
        c.set(x + 4, y - 5, 0xffffffff);
    }
}

void head(Canvas& c, const Look& l, const Pose& p) {
    const Role& r = l.role;
    const int v = l.variant;
    const int x = 8 + p.lean, y = 5 + p.dy;
    c.rect(x, y + 1, 7, 5, skin[v]);
    c.hline(x + 1, x + 5, y, skin[v]);
    c.hline(x + 1, x + 5, y + 6, skinShade[v]);
    // hair: a cap of hair with the fringe over the brow, longer at the back; the second body wears a ponytail
    c.hline(x + 1, x + 5, y, r.hair[v]);
    c.hline(x, x + 6, y + 1, r.hair[v]);
    c.rect(x, y + 2, 3, 2, r.hair[v]);
    c.set(x, y + 4, r.hairShade[v]);
    c.set(x + 6, y + 2, r.hair[v]);
    if (v == 1) {
        c.rect(x, y + 2, 2, 4, r.hair[v]);
        c.set(x - 1, y + 3, r.hair[v]);
        c.set(x - 2, y + 4, r.hairShade[v]);
        c.set(x - 2, y + 5, r.hair[v]);
        c.set(x - 1, y + 6, r.hairShade[v]);
        c.set(x - 1, y + 2, 0xffe0506a);
    }
    c.set(x + 3, y + 3, skinShade[v]); // ear
    if (p.eyesClosed) {
        c.hline(x + 4, x + 5, y + 3, ink);
    } else {
        c.vline(x + 5, y + 2, y + 3, ink);
    }
    c.set(x + 4, y + 4, blush);
    if (p.mouthOpen) {
        c.rect(x + 5, y + 5, 2, 1, 0xff8a3a3a);
        c.set(x + 6, y + 4, 0xff8a3a3a);
    }
    hat(c, l, x, y);
}

void shovel(Canvas& c, const Look& l, QPoint a, QPoint b) {
    const Metal& m = metals[l.tier];
    c.line(a.x(), a.y(), b.x(), b.y(), l.tier >= 4 ? goldShade : handle);
    c.set(a.x(), a.y(), l.tier >= 1 ? m.shade : handle); // grip
    const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
    const double ux = (b.x() - a.x()) / len, uy = (b.y() - a.y()) / len;
    const double r = l.tier == 0 ? 1.0 : 1.6;
    c.shadedEllipse(b.x() + 0.5 + ux * r, b.y() + 0.5 + uy * r, r, r, m.light, m.body, m.shade);
}

void can(Canvas& c, const Look& l, QPoint hand, bool tilted, int drops) {
    const Metal& m = metals[l.tier];
    const int w = l.tier >= 2 ? 6 : 5;
    const int x = hand.x() - 2, y = hand.y() + 1;
    if (l.tier == 0) {
        // a plain bucket before the first gear
        c.rect(x, y + 1, 5, 4, m.body);
        c.vline(x, y + 1, y + 4, m.light);
        c.vline(x + 4, y + 1, y + 4, m.shade);
        c.hline(x, x + 4, y + 1, m.shade);
        c.set(x + 1, y, m.shade);
        c.set(x + 3, y, m.shade);
        return;
    }
    const int lift = tilted ? 1 : 0;
    c.rect(x, y + 1 + lift, w, 4 - lift, m.body);
    c.vline(x, y + 1 + lift, y + 4, m.light);
    c.hline(x, x + w - 1, y + 4, m.shade);
    if (tilted) {
        c.rect(x + 1, y + 1, w - 2, 1, m.body);
    }
    c.hline(x + 1, x + 2, y, m.shade); // handle
    if (l.tier >= 2) {
        c.set(x + 2, y + 2 + lift, m.light);
    }
    const QPoint spout = QPoint(x + w, y + 2);
    const QPoint rose = tilted ? spout + QPoint(3, 2) : spout + QPoint(2, -2);
    c.line(spout.x(), spout.y(), rose.x(), rose.y(), m.shade);
    c.set(rose.x(), rose.y(), m.body);
    if (tilted) {
        c.set(rose.x() + 1, rose.y(), m.shade);
    }
    if (drops >= 0) {
        for (int i = 0; i < 3; ++i) {
            const int dy = 2 + ((drops + i) % 3) * 2;
            c.set(rose.x() + i % 2, rose.y() + dy, waterDrop);
        }
    }
}

void basket(Canvas& c, const Look& l, int x, int y, bool full) {
    // x, y: top-left of the basket body
    const Metal& m = metals[l.tier];
    if (l.tier == 0) {
        c.shadedEllipse(x + 3, y + 2.5, 3, 2.5, 0xffe6d8b0, 0xffd0bc8e, 0xffa8946a);
        c.set(x + 3, y - 1, 0xffa8946a);
        if (full) {
            c.set(x + 2, y, fruitYellow);
        }
        return;
    }
    const int w = l.tier >= 2 ? 7 : 6;
    c.rect(x, y, w, 4, wicker);
    for (int i = 0; i < w; i += 2) {
        c.vline(x + i, y + 1, y + 3, wickerShade);
    }
    c.hline(x, x + w - 1, y, l.tier >= 3 ? m.body : wickerShade);
    if (l.tier >= 4) {
        c.hline(x, x + w - 1, y + 3, gold);
    }
    c.line(x, y - 1, x + 1, y - 3, handle);
    c.hline(x + 2, x + w - 3, y - 3, handle);
    c.line(x + w - 1, y - 1, x + w - 2, y - 3, handle);
    if (full) {
        for (int i = 1; i < w - 1; i += 2) {
            c.set(x + i, y - 1, fruitYellow);
            c.set(x + i + 1, y - 1, fruitLight);
        }
        c.set(x + w / 2, y - 2, fruitYellow);
    }
}

Canvas figure(const Look& l, const Pose& p) {
    Canvas c(frameSize, frameSize);
    const Role& r = l.role;
    const int v = l.variant;
    const bool boots = l.tier >= 3;
    const int dy = p.dy;

    arm(c, QPoint(10, 13 + dy), p.backHand + QPoint(0, dy), r.shirtShade, skinShade[v]);
    leg(c, 9, p.backFoot, r.trousersShade, r.trousersShade, boots);
    leg(c, 12, p.frontFoot, r.trousers, r.trousersShade, boots);
    c.hline(10, 12, 18, r.trousers);

    c.rect(9, 12 + dy, 5, 6 - dy, r.shirt);
    c.vline(9, 12 + dy, 17, r.shirtShade);
    c.hline(9, 13, 17, r.shirtShade);
    if (l.tier >= 2) {
        c.rect(11, 15 + dy, 3, 5 - dy, apron);
        c.hline(11, 13, 19, apronShade);
        c.set(12, 17 + dy, apronShade);
        c.set(12, 13 + dy, apron);
        c.set(12, 14 + dy, apron);
        if (l.tier >= 4) {
            c.hline(11, 13, 19, gold);
            c.vline(11, 15 + dy, 18, gold);
        }
    }
    if (l.tier >= 3) {
        c.hline(10, 13, 12 + dy, scarf);
        c.set(9, 13 + dy, scarf);
    }
    head(c, l, p);

    if (p.tool == Tool::basket && p.hold == Hold::ground) {
        basket(c, l, 16, 19, p.full);
    }
    if (p.tool == Tool::basket && p.hold == Hold::chest) {
        basket(c, l, 13, 13 + dy, p.full);
    }
    arm(c, QPoint(12, 13 + dy), p.frontHand + QPoint(0, dy), r.shirt, skin[v]);
    const QPoint hand = p.frontHand + QPoint(0, dy);
    switch (p.tool) {
    case Tool::shovel: {
        const int reach = l.tier == 0 ? 3 : 5;
        switch (p.hold) {
        case Hold::raised:
            shovel(c, l, hand + QPoint(-3, -3), hand + QPoint(3, 3));
            break;
        case Hold::plunge:
            shovel(c, l, hand + QPoint(1, -3), hand + QPoint(2, 4));
            break;
        case Hold::lever:
            shovel(c, l, hand + QPoint(-2, -3), hand + QPoint(3, 3));
            break;
        case Hold::fling:
            shovel(c, l, hand + QPoint(-2, 2), hand + QPoint(4, -3));
            break;
        default:
            shovel(c, l, hand + QPoint(1, -reach + 1), hand + QPoint(1, reach - (l.tier == 0 ? 1 : 0)));
            break;
        }
        break;
    }
    case Tool::can:
        can(c, l, hand, p.hold == Hold::tilt, p.drops);
        break;
    case Tool::basket:
        if (p.hold == Hold::side) {
            basket(c, l, hand.x() - 2, hand.y() + 2, p.full);
        }
        break;
    case Tool::none:
        break;
    }
    if (p.held.x() >= 0) {
        c.set(p.held.x() + 0, p.held.y() + dy, fruitYellow);
        c.set(p.held.x() + 1, p.held.y() + dy, fruitYellow);
        c.set(p.held.x(), p.held.y() - 1 + dy, fruitLight);
    }
    c.outline(ink);
    for (const auto& [pt, color] : p.bits) {
        c.set(pt.x(), pt.y(), color);
    }
    return c;
}

Tool ownTool(int role) {
    return role == 0 ? Tool::shovel : (role == 1 ? Tool::can : Tool::basket);
}

// Each animation is a list of poses; the role only picks the tool it carries when the animation has none.
std::vector<Pose> poses(const QString& anim, int role) {
    const Tool tool = ownTool(role);
    std::vector<Pose> out;
    if (anim == "idle") {
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.tool = tool;
            p.dy = f == 2 ? 1 : 0;
            p.eyesClosed = f == 3;
            out.push_back(p);
        }
    } else if (anim == "walk" || anim == "carry") {
        const int back[6] = {-2, -1, 1, 2, 1, -1};
        for (int f = 0; f < 6; ++f) {
            Pose p;
            p.backFoot = back[f];
            p.frontFoot = -back[f];
            p.dy = (f == 1 || f == 4) ? 1 : 0;
            if (anim == "walk") {
                p.tool = tool;
                p.frontHand = QPoint(13 + (back[f] > 0 ? 1 : 0), 17);
                p.backHand = QPoint(10 - (back[f] > 0 ? 0 : 1), 17);
            } else {
                p.tool = Tool::basket;
                p.hold = Hold::chest;
                p.full = true;
                p.frontHand = QPoint(15, 15);
                p.backHand = QPoint(14, 15);
            }
            out.push_back(p);
        }
    } else if (anim == "dig") {
        const Hold holds[4] = {Hold::raised, Hold::plunge, Hold::lever, Hold::fling};
        const QPoint hands[4] = {{15, 12}, {15, 16}, {14, 16}, {15, 12}};
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.tool = Tool::shovel;
            p.hold = holds[f];
            p.frontHand = hands[f];
            p.backHand = hands[f] + QPoint(-2, 1);
            p.dy = f == 1 || f == 2 ? 1 : 0;
            p.frontFoot = 1;
            if (f == 3) {
                p.bits = {{{20, 6}, soilBit}, {{22, 8}, soilBit}, {{19, 4}, soilBit}};
            }
            if (f == 2) {
                p.bits = {{{20, 22}, soilBit}, {{21, 21}, soilBit}};
            }
            out.push_back(p);
        }
    } else if (anim == "water") {
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.tool = Tool::can;
            p.hold = f == 0 ? Hold::level : Hold::tilt;
            p.frontHand = QPoint(15, 13);
            p.backHand = QPoint(13, 15);
            p.drops = f == 0 ? -1 : f;
            out.push_back(p);
        }
    } else if (anim == "pick") {
        const QPoint hands[4] = {{16, 7}, {17, 6}, {15, 11}, {16, 17}};
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.tool = Tool::basket;
            p.hold = Hold::ground;
            p.full = f == 3;
            p.frontHand = hands[f];
            p.backHand = QPoint(11, 16);
            p.lean = f < 2 ? 1 : 0;
            if (f == 1 || f == 2) {
                p.held = hands[f] + QPoint(1, -1);
            }
            out.push_back(p);
        }
    } else if (anim == "wave") {
        const QPoint hands[4] = {{16, 8}, {17, 6}, {16, 8}, {17, 6}};
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.frontHand = hands[f];
            p.backHand = QPoint(10, 17);
            out.push_back(p);
        }
    } else if (anim == "yawn") {
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.eyesClosed = true;
            p.mouthOpen = f == 1 || f == 2;
            if (f == 1) {
                p.frontHand = QPoint(15, 7);
                p.backHand = QPoint(8, 8);
            } else if (f == 2) {
                p.frontHand = QPoint(16, 4);
                p.backHand = QPoint(7, 5);
                p.dy = -1;
            }
            out.push_back(p);
        }
    } else if (anim == "sniff") {
        for (int f = 0; f < 4; ++f) {
            Pose p;
            p.tool = tool;
            p.lean = f == 0 ? 0 : 1;
            p.dy = f == 2 ? 1 : 0;
            p.eyesClosed = f >= 1;
            const QRgb scent = 0xffbfe6a0;
            if (f == 1) {
                p.bits = {{{17, 8}, scent}};
            }
            if (f == 2) {
                p.bits = {{{18, 8}, scent}, {{17, 7}, scent}, {{19, 6}, scent}};
            }
            if (f == 3) {
                p.bits = {{{19, 5}, scent}, {{20, 6}, scent}};
            }
            out.push_back(p);
        }
    }
    return out;
}

} // namespace

const std::array<const char*, 9> workerAnimations = {"idle",  "walk", "dig",  "water", "pick",
                                                     "carry", "wave", "yawn", "sniff"};

Canvas workerFrame(int role, int variant, int tier, const QString& anim, int frame) {
    const Look look{roles[static_cast<std::size_t>(role)], variant, tier};
    const auto list = poses(anim, role);
    return figure(look, list[static_cast<std::size_t>(frame) % list.size()]);
}

void drawWorkers(ArtSet& art) {
    for (int r = 0; r < 3; ++r) {
        const Role& role = roles[static_cast<std::size_t>(r)];
        for (int variant = 0; variant < 2; ++variant) {
            for (int tier = 0; tier <= 4; ++tier) {
                const QString stem = QString(role.name) + (variant == 1 ? "b" : "") +
                                     (tier > 0 ? "-t" + QString::number(tier) : QString());
                for (const char* anim : workerAnimations) {
                    std::vector<Canvas> frames;
                    for (const Pose& pose : poses(anim, r)) {
                        frames.push_back(figure(Look{role, variant, tier}, pose));
                    }
                    const QString sheet = stem + "-" + anim;
                    art.addRun("workers: " + QString(role.name), sheet, frames);
                    art.addDye(sheet, {role.shirt, role.shirtShade});
                }
            }
        }
    }
    // Hire-sheet portraits: head and shoulders of the plain gear, doubled.
    for (int r = 0; r < 3; ++r) {
        for (int variant = 0; variant < 2; ++variant) {
            const Canvas body = workerFrame(r, variant, 1, "idle", 0);
            Canvas portrait(36, 40);
            const QRgb card = 0xfff4ecd6, cardShade = 0xffe2d6b4;
            portrait.rect(1, 1, 34, 38, card);
            portrait.rect(1, 26, 34, 13, cardShade);
            for (int y = 0; y < 20; ++y) {
                for (int x = 0; x < 18; ++x) {
                    const QRgb p = body.at(x + 3, y + 1);
                    if (qAlpha(p) != 0) {
                        portrait.rect(x * 2, y * 2, 2, 2, p);
                    }
                }
            }
            portrait.outline(ink);
            art.add("portraits", QString("portrait-") + roles[static_cast<std::size_t>(r)].name + (variant ? "b" : ""),
                    portrait);
        }
    }
}
