#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kinetra {

// Blurs an 8-bit alpha mask in place by three successive box blurs whose widths approximate a
// Gaussian of standard deviation sigma (pixels). Samples outside the mask count as 0, so the
// caller leaves a margin of shadowBlurReach(sigma) pixels around what it drew.
// Preconditions: stride >= width; data holds height rows of stride bytes.
void blurShadowMask(uint8_t* data, int width, int height, size_t stride, double sigma);

// The radii of the three boxes for sigma; all 0 for sigma <= 0.
std::array<int, 3> shadowBoxRadii(double sigma);

// How far the blur spreads a single pixel: the sum of the three radii.
int shadowBlurReach(double sigma);

}  // namespace kinetra
