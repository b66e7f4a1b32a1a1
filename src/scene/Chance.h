#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <utility>

namespace pipfield {

/// The scene's one source of chance, and the draws made from it.
class Chance {
public:
    /// `random` is uniform in [0, 1).
    explicit Chance(std::function<double()> random) : m_random(std::move(random)) {}

    double operator()() const { return m_random(); }
    double uniform(double low, double high) const { return low + (high - low) * m_random(); }
    /// A random index below count; 0 when count is 0, without a draw.
    std::size_t pick(std::size_t count) const {
        if (count == 0) {
            return 0;
        }
        const auto i = static_cast<std::size_t>(std::floor(m_random() * static_cast<double>(count)));
        return std::min(i, count - 1);
    }

private:
    std::function<double()> m_random;
};

} // namespace pipfield
