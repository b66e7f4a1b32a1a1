#pragma once

#include <chrono>

namespace pipfield {

/// An absolute instant of the wall clock.
using Instant = std::chrono::system_clock::time_point;

/// Where the game reads the time, so that tests can set it to exact instants.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Instant now() const = 0;
};

/// The computer's wall clock.
class SystemClock final : public Clock {
public:
    Instant now() const override { return std::chrono::system_clock::now(); }
};

/// Seconds from `from` to `to`, negative when `to` is earlier.
inline double secondsBetween(Instant from, Instant to) {
    return std::chrono::duration<double>(to - from).count();
}

/// The instant `seconds` after `t`, rounded to the clock's resolution.
inline Instant addSeconds(Instant t, double seconds) {
    return t + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(seconds));
}

} // namespace pipfield
