#pragma once

#include "model/Balance.h"
#include "model/Orchard.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace pipfield::test {

/// A fully grown tree of a kind, bearing the given fruit.
inline Tree mature(TreeKind kind = TreeKind::eureka, std::int64_t fruit = 0) {
    return Tree{kind, Balance::spec(kind).grow, 0, fruit};
}

/// An orchard with nothing hired, so that only the trees given change with time.
inline Orchard bareOrchard(std::vector<Tree> trees) {
    Orchard o = Orchard::starter();
    o.trees = std::move(trees);
    o.workers = {};
    return o;
}

/// The plain rules over `seconds`, to hold the shortcuts of a catch-up against: five-second steps and a
/// shorter last one, the crate looked at after each. Returns after how long the crate was full (0 when
/// it was to begin with), or nothing when it never was.
inline std::optional<double> stepPlainly(Orchard& orchard, double seconds, Season season) {
    std::optional<double> filled;
    if (orchard.crateFull()) {
        filled = 0.0;
    }
    for (double remaining = seconds; remaining > 0;) {
        const double dt = std::min(remaining, 5.0);
        orchard.step(dt, season);
        remaining -= dt;
        if (!filled && orchard.crateFull()) {
            filled = seconds - remaining;
        }
    }
    return filled;
}

} // namespace pipfield::test
