#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Counts and coins are 64-bit and may come from a hand-edited save file, so every sum and product of them
// saturates instead of wrapping (wrapping is undefined behaviour for signed integers).
namespace pipfield {

inline constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
inline constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

inline std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t result;
    if (__builtin_add_overflow(a, b, &result)) {
        return b > 0 ? kInt64Max : kInt64Min;
    }
    return result;
}

inline std::int64_t saturatingSub(std::int64_t a, std::int64_t b) {
    std::int64_t result;
    if (__builtin_sub_overflow(a, b, &result)) {
        return b < 0 ? kInt64Max : kInt64Min;
    }
    return result;
}

inline std::int64_t saturatingMul(std::int64_t a, std::int64_t b) {
    std::int64_t result;
    if (__builtin_mul_overflow(a, b, &result)) {
        return (a < 0) != (b < 0) ? kInt64Min : kInt64Max;
    }
    return result;
}

/// Converts toward zero, clamping to the 64-bit range; NaN becomes 0.
inline std::int64_t truncateToInt64(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    // 2^63 is exactly representable; every double below it converts without overflow.
    if (x >= 9223372036854775808.0) {
        return kInt64Max;
    }
    if (x < -9223372036854775808.0) {
        return kInt64Min;
    }
    return static_cast<std::int64_t>(x);
}

/// R(x): the nearest integer, halves away from zero, clamped to the 64-bit range.
inline std::int64_t roundHalfAway(double x) {
    return truncateToInt64(std::round(x));
}

} // namespace pipfield
