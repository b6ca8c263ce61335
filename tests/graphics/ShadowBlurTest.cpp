#include "graphics/ShadowBlur.h"

#include <gtest/gtest.h>

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

TEST(ShadowBlurTest, ZeroSigmaLeavesTheMaskAlone) {
  std::vector<uint8_t> mask = {0, 255, 0, 10};
  blurShadowMask(mask.data(), 2, 2, 2, 0);
  EXPECT_EQ(mask, (std::vector<uint8_t>{0, 255, 0, 10}));
  EXPECT_EQ(shadowBlurReach(0), 0);
  EXPECT_EQ(shadowBlurReach(-1), 0);
}

}  // namespace
}  // namespace kinetra
