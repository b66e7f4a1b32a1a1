#pragma once

#include <chrono>
#include <cstdint>

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

/// Seconds from `from` to `to`, negative when `to` is earlier. Instants are counted in 64-bit
/// nanoseconds, so two of them more than about 292 years apart differ by more than that count holds;
/// their difference is then taken in reals, which only rounds, instead of wrapping.
inline double secondsBetween(Instant from, Instant to) {
    Instant::rep ticks = 0;
    if (__builtin_sub_overflow(to.time_since_epoch().count(), from.time_since_epoch().count(), &ticks)) {
        const double apart =
            static_cast<double>(to.time_since_epoch().count()) - static_cast<double>(from.time_since_epoch().count());
        return std::chrono::duration<double>(std::chrono::duration<double, Instant::period>(apart)).count();
    }
    return std::chrono::duration<double>(Instant::duration(ticks)).count();
}

/// The instant `seconds` after `t`, rounded toward `t` to the clock's resolution and held at the first or
/// last instant the clock can express (about 292 years either side of 1970); NaN adds nothing.
inline Instant addSeconds(Instant t, double seconds) {
    const double ticks = std::chrono::duration<double, Instant::period>(std::chrono::duration<double>(seconds)).count();
    if (ticks != ticks) {
        return t;
    }
    // Far beyond either end the sum cannot come back into range; nearer, it is exact in 128 bits.
    constexpr double beyond = 1e30;
    if (ticks >= beyond || ticks <= -beyond) {
        return ticks > 0 ? Instant::max() : Instant::min();
    }
    const __int128 sum = static_cast<__int128>(t.time_since_epoch().count()) + static_cast<__int128>(ticks);
    if (sum > Instant::max().time_since_epoch().count()) {
        return Instant::max();
    }
    if (sum < Instant::min().time_since_epoch().count()) {
        return Instant::min();
    }
    return Instant(Instant::duration(static_cast<Instant::rep>(sum)));
}

} // namespace pipfield
