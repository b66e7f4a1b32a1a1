#pragma once

// How many device pixels an art pixel covers on a screen, and how long a window side has to be for
// its device pixels to hold whole art pixels.
namespace pipfield {

/// Device pixels per art pixel on a screen of device pixel ratio `ratio`: the whole number nearest to
/// it in proportion, at least 1, so that square art pixels show as near their intended size as they
/// can. Sizes are seen in proportion: at 1.5 the art at 2 is a third too large and at 1 a third too
/// small, but a third too small is the larger step (1.5 times against 1.33 times), so 1.5 draws at 2.
/// The step from n to n + 1 lies at the geometric middle, the square root of n (n + 1): 1.41, 2.45, 3.46.
int wholeArtScale(double ratio);

/// The nearest whole art scale to `ratio`, but no larger than one at which `artPixelsAcross` art
/// pixels still fit in `devicePixelsAcross`: on a narrow screen the whole picture at a smaller scale
/// beats half of it at the nearest.
int fittingArtScale(double ratio, int devicePixelsAcross, int artPixelsAcross);

/// How many points long a window side of `artPixels` art pixels at `scale` device pixels each is at
/// `ratio`: a length whose device pixels, rounded as Qt and the Wayland protocols round them (half
/// away from zero), are exactly whole art pixels, so no column or row of device pixels is left half
/// an art pixel or empty. The nearest such length to the intended one, which may hold an art pixel
/// or two more or less; where none lies near, the intended length.
int pointsHolding(int artPixels, double ratio, int scale);

/// The device pixels of a side `points` long at `ratio`, rounded half away from zero.
int devicePixels(int points, double ratio);

} // namespace pipfield
