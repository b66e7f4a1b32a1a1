#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace pipfield {

/// What the orchard did while the player was away, taken from the catch-up that simulated it.
struct WelcomeBack {
    /// Fruit the harvesters put into the crate during the catch-up.
    std::int64_t picked = 0;
    /// Fruit in the crate after it.
    std::int64_t waiting = 0;
    /// Seconds into the absence at which the crate was full: 0 when it already was, nothing when it
    /// never filled.
    std::optional<double> filledAfter;

    bool operator==(const WelcomeBack&) const = default;
};

/// The one sentence that tells the player about it.
QString welcomeBackText(const WelcomeBack& welcome);
/// The notification's title.
QString welcomeBackTitle();

} // namespace pipfield
