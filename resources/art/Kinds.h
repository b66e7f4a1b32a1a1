#pragma once

#include <QRgb>

#include <array>

// One ink for every silhouette keeps the whole set in one style.
inline constexpr QRgb ink = 0xff2b2118;

enum class Canopy { round, bush, lush, tall, wide, spiky, broad, weeping, crown };
enum class FruitShape { lemon, roundish, oval, tiny, round, blood, flat, big, pinkLemon, knob, fingers, golden };

/// How one tree kind looks: the colours and shapes that tell it apart at a glance.
struct KindArt {
    const char* name;
    Canopy canopy;
    FruitShape fruit;
    QRgb leafLight, leaf, leafShade;
    QRgb fruitLight, fruitBody, fruitShade;
    QRgb accent;  // blush, stripe, second colour or glint, by shape
    QRgb blossom; // petals of the flowering stage
    int fruitCount;
};

// Declaration order of the kinds, the order every list in the game uses.
inline constexpr std::array<KindArt, 12> kinds = {{
    {"eureka", Canopy::round, FruitShape::lemon, 0xff7cc04f, 0xff4f9a3a, 0xff2f6a2a, 0xfffff27a, 0xfff2cf2b, 0xffc4951a,
     0xfff2cf2b, 0xfffdf8ec, 8},
    {"kumquat", Canopy::bush, FruitShape::oval, 0xff5fae5a, 0xff2f7d44, 0xff1d5533, 0xffffc46a, 0xfff5891d, 0xffc05e12,
     0xfff5891d, 0xfffdf8ec, 13},
    {"meyer", Canopy::lush, FruitShape::roundish, 0xff8dc65a, 0xff5a9e3f, 0xff36702c, 0xffffe68a, 0xfff7b935,
     0xffc98a1c, 0xfff7b935, 0xfffff4e0, 8},
    {"calamansi", Canopy::tall, FruitShape::tiny, 0xff6cb85a, 0xff3f8c45, 0xff275f33, 0xffd6ef7a, 0xffa8cf45,
     0xff6f9a2a, 0xfff39a32, 0xfffdf8ec, 15},
    {"lime", Canopy::wide, FruitShape::round, 0xff5fa86e, 0xff2f7457, 0xff1c4d3d, 0xffd9f78a, 0xff8fd13f, 0xff58942a,
     0xff8fd13f, 0xfff3f8ea, 9},
    {"blood", Canopy::crown, FruitShape::blood, 0xff6aa94f, 0xff3b7d3a, 0xff24542a, 0xffff9a6a, 0xffe0562e, 0xff8e1f2a,
     0xffb3202c, 0xfffbe6ea, 8},
    {"yuja", Canopy::spiky, FruitShape::flat, 0xff9fcc5a, 0xff6b9e3a, 0xff45702b, 0xfffff7b0, 0xfff0d44a, 0xffb89c2c,
     0xfff0d44a, 0xfffdf8ec, 8},
    {"grapefruit", Canopy::broad, FruitShape::big, 0xff72b455, 0xff46893e, 0xff2c5e2e, 0xffffc09a, 0xfff0845e,
     0xffb4513e, 0xfff0845e, 0xfffdf8ec, 5},
    {"pink", Canopy::round, FruitShape::pinkLemon, 0xffd8eab0, 0xff5a9a48, 0xff33683a, 0xffffd0de, 0xfff28aae,
     0xffb8567c, 0xffe9f0c4, 0xffffd6e6, 8},
    {"hallabong", Canopy::lush, FruitShape::knob, 0xff74b24e, 0xff42873a, 0xff29592c, 0xffffc46a, 0xfff08414,
     0xffae560c, 0xfff08414, 0xfffdf8ec, 5},
    {"buddha", Canopy::weeping, FruitShape::fingers, 0xff86b862, 0xff558c44, 0xff355f30, 0xfffff07a, 0xffeed030,
     0xffb4951c, 0xffeed030, 0xffe8d4f4, 5},
    {"golden", Canopy::round, FruitShape::golden, 0xffe6d463, 0xff6f9a3a, 0xff43662a, 0xfffff6b8, 0xfff2b90c,
     0xffa8770a, 0xffffffff, 0xfffff6d0, 8},
}};
