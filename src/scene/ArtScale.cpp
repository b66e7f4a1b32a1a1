#include "scene/ArtScale.h"

#include <algorithm>
#include <cmath>

namespace pipfield {

int wholeArtScale(double ratio) {
    constexpr int kMaxScale = 16;
    if (!std::isfinite(ratio) || ratio <= 1) {
        return 1;
    }
    int scale = 1;
    // A hair of tolerance, so that a ratio the platform gives as a hair past a step stays below it.
    while (scale < kMaxScale && ratio > std::sqrt(scale * (scale + 1.0)) + 1e-9) {
        ++scale;
    }
    return scale;
}

int fittingArtScale(double ratio, int devicePixelsAcross, int artPixelsAcross) {
    const int fits = artPixelsAcross > 0 ? devicePixelsAcross / artPixelsAcross : devicePixelsAcross;
    return std::max(1, std::min(wholeArtScale(ratio), fits));
}

int devicePixels(int points, double ratio) {
    // Ratios come from the platform as doubles a hair away from their fraction (1.25 from 120 dots per
    // inch over 96); the tolerance keeps an exact half a half.
    // A compositor's sizes are not trusted to be sane: the count stays within an int.
    constexpr double kMost = 1 << 30;
    const double pixels = std::floor(points * ratio + 0.5 + 1e-9);
    return std::isfinite(pixels) ? static_cast<int>(std::clamp(pixels, -kMost, kMost)) : 0;
}

int pointsHolding(int artPixels, double ratio, int scale) {
    if (!std::isfinite(ratio) || ratio <= 0 || artPixels <= 0 || scale < 1) {
        return std::max(0, artPixels);
    }
    // Within what any screen has, so that no rounding below leaves the range of an int.
    constexpr double kLongest = 1 << 20;
    const double wanted = std::min(kLongest, artPixels * static_cast<double>(scale) / ratio);
    const int intended = static_cast<int>(std::round(wanted));
    const auto holdsWholeArtPixels = [&](int points) {
        const int device = devicePixels(points, ratio);
        return device > 0 && device % scale == 0;
    };
    // Consecutive lengths step through the device pixel counts by the ratio, so one of every few
    // lands on a multiple of the scale.
    for (int step = 0; step <= 2 * scale + 2; ++step) {
        for (const int points : {intended + step, intended - step}) {
            if (points > 0 && holdsWholeArtPixels(points)) {
                return points;
            }
        }
    }
    return intended;
}

} // namespace pipfield
