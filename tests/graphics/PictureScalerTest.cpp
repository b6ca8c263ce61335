#include "graphics/PictureScaler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace kinetra {
namespace {

Picture fromPixels(int width, int height, const std::vector<Rgba>& pixels) {
  std::vector<uint8_t> rgba;
  for (const Rgba& p : pixels) rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
  return *Picture::create(width, height, std::move(rgba));
}

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};

TEST(PictureScalerTest, StretchesToFillWithoutKeepingTheAspectRatio) {
  const Picture wide = fromPixels(2, 1, {kRed, kBlue});
  Result<Picture> tall = scalePicture(wide, 4, 8);
  ASSERT_TRUE(tall.ok());
  EXPECT_EQ(tall->width(), 4);
  EXPECT_EQ(tall->height(), 8);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(tall->pixelAt(0, y), kRed);
    EXPECT_EQ(tall->pixelAt(3, y), kBlue);
  }
}

TEST(PictureScalerTest, UniformColourStaysExactAtAnySize) {
  const Rgba colour{10, 200, 30, 255};
  const Picture source = *Picture::filled(7, 5, colour);
  for (auto [w, h] : {std::pair{35, 40}, std::pair{3, 2}, std::pair{1, 1}, std::pair{320, 370}}) {
    Result<Picture> scaled = scalePicture(source, w, h);
    ASSERT_TRUE(scaled.ok());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) ASSERT_EQ(scaled->pixelAt(x, y), colour) << x << "," << y;
    }
  }
}

TEST(PictureScalerTest, EnlargingInterpolatesSmoothly) {
  Result<Picture> ramp = scalePicture(fromPixels(2, 1, {kBlack, kWhite}), 8, 1);
  ASSERT_TRUE(ramp.ok());
  EXPECT_EQ(ramp->pixelAt(0, 0), kBlack);
  EXPECT_EQ(ramp->pixelAt(7, 0), kWhite);
  int distinct = 0;
  for (int x = 1; x < 8; ++x) {
    EXPECT_GE(ramp->pixelAt(x, 0).r, ramp->pixelAt(x - 1, 0).r);
    if (ramp->pixelAt(x, 0).r != ramp->pixelAt(x - 1, 0).r) ++distinct;
  }
  EXPECT_GE(distinct, 3);  // a ramp, not a hard step
}

// A photo shrunk to a thumbnail: a one-pixel checkerboard must average to mid-gray everywhere;
// point sampling or plain bilinear would show black, white or moiré.
TEST(PictureScalerTest, ShrinkingAFineCheckerboardAveragesToGray) {
  const int width = 3000, height = 4000;
  std::vector<uint8_t> rgba(size_t(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t v = (x + y) % 2 == 0 ? 255 : 0;
      uint8_t* p = rgba.data() + (size_t(y) * width + x) * 4;
      p[0] = p[1] = p[2] = v;
      p[3] = 255;
    }
  }
  const Picture photo = *Picture::create(width, height, std::move(rgba));
  Result<Picture> thumbnail = scalePicture(photo, 35, 40);
  ASSERT_TRUE(thumbnail.ok());
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 35; ++x) {
      const Rgba p = thumbnail->pixelAt(x, y);
      ASSERT_NEAR(p.r, 128, 3) << x << "," << y;
      ASSERT_EQ(p.a, 255);
    }
  }
}

TEST(PictureScalerTest, TransparentPixelsDoNotBleedTheirColour) {
  const Rgba transparentWhite{255, 255, 255, 0};
  Result<Picture> one = scalePicture(fromPixels(2, 1, {transparentWhite, kBlack}), 1, 1);
  ASSERT_TRUE(one.ok());
  EXPECT_EQ(one->pixelAt(0, 0).r, 0);  // the colour is the opaque pixel's
  EXPECT_NEAR(one->pixelAt(0, 0).a, 128, 1);

  Result<Picture> clear = scalePicture(*Picture::filled(3, 3, transparentWhite), 2, 2);
  EXPECT_EQ(clear->pixelAt(1, 1), (Rgba{0, 0, 0, 0}));
}

TEST(PictureScalerTest, RefusesEmptyAndOversizeTargets) {
  const Picture source = *Picture::filled(2, 2, kRed);
  EXPECT_EQ(scalePicture(Picture(), 10, 10).status().code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(scalePicture(source, 0, 10).status().code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(scalePicture(source, 10, -1).status().code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(scalePicture(source, 20000, 10).status().code(), Status::Code::kTooLarge);
  EXPECT_EQ(scalePicture(source, 8000, 8000).status().code(), Status::Code::kTooLarge);
}

}  // namespace
}  // namespace kinetra
