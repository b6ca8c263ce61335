#include "graphics/ShadowBlur.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kinetra {
namespace {

TEST(ShadowBlurTest, SpreadsAPointSymmetricallyWithinItsReachAndFallsOff) {
  const int size = 41, centre = 20;
  const size_t stride = 48;  // wider than the mask: padding must be left alone
  std::vector<uint8_t> mask(stride * size, 0);
  for (int y = 15; y < 26; ++y) {
    for (int x = 15; x < 26; ++x) mask[size_t(y) * stride + size_t(x)] = 255;
  }
  for (size_t y = 0; y < size; ++y) mask[y * stride + 45] = 99;  // padding
  const double sigma = 3;
  blurShadowMask(mask.data(), size, size, stride, sigma);
  const int reach = shadowBlurReach(sigma);
  ASSERT_GT(reach, 0);

  auto at = [&](int x, int y) { return mask[size_t(y) * stride + size_t(x)]; };
  EXPECT_GT(at(centre, centre), 200);
  for (int d = 1; d <= 5 + reach; ++d) {
    EXPECT_LE(at(centre + d, centre), at(centre + d - 1, centre)) << d;
    EXPECT_EQ(at(centre + d, centre), at(centre - d, centre)) << d;
    EXPECT_EQ(at(centre, centre + d), at(centre, centre - d)) << d;
  }
  EXPECT_GT(at(centre + 6, centre), 0);  // blurred past the square's edge
  EXPECT_LT(at(centre + 6, centre), 255);
  EXPECT_EQ(at(centre + 6 + reach, centre), 0);  // but not further than the reach
  for (size_t y = 0; y < size; ++y) EXPECT_EQ(mask[y * stride + 45], 99);
}

// The blur as defined: each box pass averages, with rounding, the samples within the radius
// along rows and then down columns, counting samples outside the mask as zero.
std::vector<uint8_t> blurredByDefinition(std::vector<uint8_t> mask, int width, int height,
                                         size_t stride, double sigma) {
  const auto at = [&](const std::vector<uint8_t>& m, int x, int y) -> unsigned {
    return x < 0 || y < 0 || x >= width || y >= height ? 0 : m[size_t(y) * stride + size_t(x)];
  };
  for (int radius : shadowBoxRadii(sigma)) {
    if (radius == 0) continue;
    const unsigned boxWidth = unsigned(2 * radius + 1);
    for (bool across : {true, false}) {
      const std::vector<uint8_t> before = mask;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          unsigned sum = 0;
          for (int d = -radius; d <= radius; ++d) {
            sum += across ? at(before, x + d, y) : at(before, x, y + d);
          }
          mask[size_t(y) * stride + size_t(x)] = uint8_t((sum + boxWidth / 2) / boxWidth);
        }
      }
    }
  }
  return mask;
}

TEST(ShadowBlurTest, BlursSparseAndDenseMasksExactlyAsDefined) {
  std::mt19937 random(7);
  struct Case {
    int width, height;
    double sigma;
  };
  // Sigmas of one box up to three, a box wider than the mask, and one past 4,096 pixels wide.
  for (const Case& c : {Case{37, 29, 0.6}, Case{64, 48, 1}, Case{50, 61, 3}, Case{40, 40, 12.5},
                        Case{33, 20, 150}, Case{24, 18, 2100}}) {
    for (int density : {0, 2, 30, 100}) {
      const size_t stride = size_t(c.width) + 5;
      std::vector<uint8_t> mask(stride * size_t(c.height), 0);
      for (int y = 0; y < c.height; ++y) {
        const bool inked = int(random() % 100) < density || y % 11 == 3;
        for (int x = 0; inked && x < c.width; ++x) {
          if (int(random() % 100) < density + 10)
            mask[size_t(y) * stride + size_t(x)] = uint8_t(random());
        }
        for (size_t pad = size_t(c.width); pad < stride; ++pad) mask[size_t(y) * stride + pad] = 77;
      }
      const std::vector<uint8_t> expected =
          blurredByDefinition(mask, c.width, c.height, stride, c.sigma);
      blurShadowMask(mask.data(), c.width, c.height, stride, c.sigma);
      EXPECT_EQ(mask, expected) << c.width << " x " << c.height << ", sigma " << c.sigma
                                << ", density " << density;
    }
  }
}

TEST(ShadowBlurTest, ZeroSigmaLeavesTheMaskAlone) {
  std::vector<uint8_t> mask = {0, 255, 0, 10};
  blurShadowMask(mask.data(), 2, 2, 2, 0);
  EXPECT_EQ(mask, (std::vector<uint8_t>{0, 255, 0, 10}));
  EXPECT_EQ(shadowBlurReach(0), 0);
  EXPECT_EQ(shadowBlurReach(-1), 0);
}

}  // namespace
}  // namespace kinetra
