#include "graphics/PictureDecoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "graphics/PictureHeader.h"
#include "graphics/PngEncoder.h"
#include "graphics/TestPictures.h"

namespace kinetra {
namespace {

using testing::JpegColours;
using testing::JpegSpec;
using testing::makeJpeg;
using testing::makePng;
using testing::PngSpec;

Picture gradient(int width, int height) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgba.insert(rgba.end(), {uint8_t(x * 7), uint8_t(y * 13), uint8_t(x ^ y),
                               uint8_t((x + y * width) % 256)});
    }
  }
  return *Picture::create(width, height, std::move(rgba));
}

std::vector<uint8_t> quadrantJpeg(int width, int height, bool progressive) {
  JpegSpec recipe{width, height};
  recipe.progressive = progressive;
  recipe.samples = testing::quadrantRgb(width, height);
  return makeJpeg(recipe);
}

bool near(Rgba actual, Rgba expected, int tolerance) {
  return std::abs(actual.r - expected.r) <= tolerance &&
         std::abs(actual.g - expected.g) <= tolerance &&
         std::abs(actual.b - expected.b) <= tolerance && actual.a == expected.a;
}

void expectQuadrants(const Picture& picture) {
  const int w = picture.width(), h = picture.height();
  EXPECT_TRUE(near(picture.pixelAt(w / 4, h / 4), {255, 0, 0, 255}, 12));
  EXPECT_TRUE(near(picture.pixelAt(3 * w / 4, h / 4), {0, 255, 0, 255}, 12));
  EXPECT_TRUE(near(picture.pixelAt(w / 4, 3 * h / 4), {0, 0, 255, 255}, 12));
  EXPECT_TRUE(near(picture.pixelAt(3 * w / 4, 3 * h / 4), {255, 255, 255, 255}, 12));
}

// Whatever the effort, every pixel comes back; the fastest encoding is the larger one.
TEST(PictureDecoderTest, PngRoundTripKeepsEveryPixelAndItsAlpha) {
  const Picture original = gradient(33, 17);
  std::size_t sizes[2] = {};
  for (PngEffort effort : {PngEffort::kSmallest, PngEffort::kFastest}) {
    Result<std::vector<uint8_t>> png = encodePng(original, effort);
    ASSERT_TRUE(png.ok());
    sizes[static_cast<int>(effort)] = png->size();
    EXPECT_EQ(sniffPictureType(*png), PictureType::kPng);
    Result<Picture> decoded = decodePicture(*png);
    ASSERT_TRUE(decoded.ok()) << decoded.status().toString();
    EXPECT_EQ(decoded->width(), 33);
    EXPECT_EQ(decoded->height(), 17);
    EXPECT_EQ(decoded->rgba(), original.rgba());
  }
  EXPECT_LT(sizes[0], sizes[1]);

  EXPECT_EQ(encodePng(Picture()).status().code(), Status::Code::kInvalidArgument);
}

TEST(PictureDecoderTest, EveryPngLayoutComesOutAsRgba) {
  PngSpec palette{3, 1, PNG_COLOR_TYPE_PALETTE, 4};
  palette.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  palette.transparency = {255, 128};  // entry 2 has no alpha entry: opaque
  palette.rows = {0x01, 0x20};        // indices 0, 1, 2 packed in nibbles
  Result<Picture> p = decodePicture(makePng(palette));
  ASSERT_TRUE(p.ok()) << p.status().toString();
  EXPECT_EQ(p->pixelAt(0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(p->pixelAt(1, 0), (Rgba{0, 255, 0, 128}));
  EXPECT_EQ(p->pixelAt(2, 0), (Rgba{0, 0, 255, 255}));

  PngSpec gray16{2, 1, PNG_COLOR_TYPE_GRAY, 16};
  gray16.rows = {0xff, 0xff, 0x00, 0x80};  // little-endian: 0xffff, 0x8000
  Result<Picture> g = decodePicture(makePng(gray16));
  ASSERT_TRUE(g.ok()) << g.status().toString();
  EXPECT_EQ(g->pixelAt(0, 0), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(g->pixelAt(1, 0), (Rgba{128, 128, 128, 255}));

  PngSpec grayAlpha{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8};
  grayAlpha.rows = {40, 200};
  EXPECT_EQ(decodePicture(makePng(grayAlpha))->pixelAt(0, 0), (Rgba{40, 40, 40, 200}));

  PngSpec bits{9, 1, PNG_COLOR_TYPE_GRAY, 1};
  bits.rows = {0b10000000, 0b10000000};  // first and ninth pixel white
  Result<Picture> b = decodePicture(makePng(bits));
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(b->pixelAt(0, 0), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(b->pixelAt(1, 0), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(b->pixelAt(8, 0), (Rgba{255, 255, 255, 255}));
}

TEST(PictureDecoderTest, InterlacedPngMatchesTheSamePictureNotInterlaced) {
  PngSpec recipe{11, 9, PNG_COLOR_TYPE_RGB, 8};
  for (int i = 0; i < 11 * 9 * 3; ++i) recipe.rows.push_back(uint8_t(i * 31));
  Result<Picture> plain = decodePicture(makePng(recipe));
  recipe.interlaced = true;
  Result<Picture> interlaced = decodePicture(makePng(recipe));
  ASSERT_TRUE(plain.ok());
  ASSERT_TRUE(interlaced.ok()) << interlaced.status().toString();
  EXPECT_EQ(interlaced->rgba(), plain->rgba());
  EXPECT_EQ(plain->pixelAt(1, 0), (Rgba{uint8_t(3 * 31), uint8_t(4 * 31), uint8_t(5 * 31), 255}));
}

TEST(PictureDecoderTest, DecodesBaselineAndProgressiveJpeg) {
  for (bool progressive : {false, true}) {
    Result<Picture> picture = decodePicture(quadrantJpeg(64, 48, progressive));
    ASSERT_TRUE(picture.ok()) << picture.status().toString();
    EXPECT_EQ(picture->width(), 64);
    EXPECT_EQ(picture->height(), 48);
    expectQuadrants(*picture);
  }
}

TEST(PictureDecoderTest, GrayAndCmykJpegBecomeRgb) {
  JpegSpec gray{16, 16, JpegColours::kGray};
  gray.samples.assign(16 * 16, 90);
  Result<Picture> g = decodePicture(makeJpeg(gray));
  ASSERT_TRUE(g.ok()) << g.status().toString();
  EXPECT_TRUE(near(g->pixelAt(8, 8), {90, 90, 90, 255}, 2));

  // Adobe's inverted CMYK: 255 is no ink. Full magenta and yellow, no cyan or black: red.
  JpegSpec cmyk{16, 16, JpegColours::kAdobeCmyk};
  for (int i = 0; i < 16 * 16; ++i) cmyk.samples.insert(cmyk.samples.end(), {255, 0, 0, 255});
  Result<Picture> c = decodePicture(makeJpeg(cmyk));
  ASSERT_TRUE(c.ok()) << c.status().toString();
  EXPECT_TRUE(near(c->pixelAt(8, 8), {255, 0, 0, 255}, 6));
}

TEST(PictureDecoderTest, EveryTruncationIsAnError) {
  const std::vector<uint8_t> png = *encodePng(gradient(20, 20));
  const std::vector<uint8_t> jpeg = quadrantJpeg(32, 32, false);
  const std::vector<uint8_t> progressive = quadrantJpeg(32, 32, true);
  for (const std::vector<uint8_t>* file : {&png, &jpeg, &progressive}) {
    ASSERT_TRUE(decodePicture(*file).ok());
    for (size_t length = 0; length < file->size(); ++length) {
      std::vector<uint8_t> cut(file->begin(), file->begin() + std::ptrdiff_t(length));
      Result<Picture> result = decodePicture(cut);
      EXPECT_FALSE(result.ok()) << "length " << length << " of " << file->size();
    }
  }
}

TEST(PictureDecoderTest, DamagedDataIsCorrupt) {
  std::vector<uint8_t> png = *encodePng(gradient(20, 20));
  png[png.size() / 2] ^= 0x55;  // inside the image data: the CRC no longer matches
  EXPECT_EQ(decodePicture(png).status().code(), Status::Code::kCorrupt);

  // An end-of-image marker in the middle of the entropy-coded data.
  std::vector<uint8_t> jpeg = quadrantJpeg(64, 64, false);
  size_t scan = 0;  // start of scan
  for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xff && jpeg[i + 1] == 0xda) scan = i;
  }
  const size_t middle = (scan + jpeg.size()) / 2;
  jpeg[middle] = 0xff;
  jpeg[middle + 1] = 0xd9;
  EXPECT_EQ(decodePicture(jpeg).status().code(), Status::Code::kCorrupt);

  EXPECT_EQ(decodePicture({}).status().code(), Status::Code::kCorrupt);
}

TEST(PictureDecoderTest, ForgedHugeSizesAreRefusedBeforeDecoding) {
  std::vector<uint8_t> png = *encodePng(gradient(4, 4));
  testing::forgePngSize(png, 20000, 10);
  EXPECT_EQ(decodePicture(png).status().code(), Status::Code::kTooLarge);
  testing::forgePngSize(png, 8000, 8000);
  EXPECT_EQ(decodePicture(png).status().code(), Status::Code::kTooLarge);
  // Within the limits but not what the data holds: libpng runs out of image data.
  testing::forgePngSize(png, 4000, 4000);
  EXPECT_EQ(decodePicture(png).status().code(), Status::Code::kCorrupt);

  std::vector<uint8_t> jpeg = quadrantJpeg(16, 16, false);
  testing::forgeJpegSize(jpeg, 8000, 8000);
  EXPECT_EQ(decodePicture(jpeg).status().code(), Status::Code::kTooLarge);
  testing::forgeJpegSize(jpeg, 3000, 3000);
  EXPECT_EQ(decodePicture(jpeg).status().code(), Status::Code::kCorrupt);

  std::vector<uint8_t> oversized = *encodePng(gradient(4, 4));
  oversized.resize(kMaxPictureBytes + 1);
  EXPECT_EQ(decodePicture(oversized).status().code(), Status::Code::kTooLarge);
}

TEST(PictureDecoderTest, GifIsSizedButNotDecoded) {
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 3, 0, 0, 0, 0};
  EXPECT_EQ(*pictureSize(gif), (PictureSize{2, 3}));
  EXPECT_EQ(decodePicture(gif).status().code(), Status::Code::kInvalidArgument);
}

// Random damage anywhere in valid files: every outcome is either an error or a picture of the
// declared size, and nothing crashes (the sanitizer build checks the memory accesses).
TEST(PictureDecoderTest, RandomDamageNeverCrashes) {
  std::mt19937 random(20240611);
  const std::vector<std::vector<uint8_t>> files = {
      *encodePng(gradient(24, 16)), quadrantJpeg(40, 24, false), quadrantJpeg(40, 24, true)};
  for (const std::vector<uint8_t>& file : files) {
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> damaged = file;
      const int hits = 1 + int(random() % 8);
      for (int i = 0; i < hits; ++i) damaged[random() % damaged.size()] = uint8_t(random());
      Result<Picture> result = decodePicture(damaged);
      if (result.ok()) {
        EXPECT_EQ(size_t(result->width()) * size_t(result->height()) * 4, result->rgba().size());
      }
    }
  }
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> noise(1 + random() % 400);
    for (uint8_t& byte : noise) byte = uint8_t(random());
    if (round % 2 == 0) noise.insert(noise.begin(), {0xff, 0xd8, 0xff});
    EXPECT_FALSE(decodePicture(noise).ok());
  }
}

// ---- Decoding at the size needed, upright

// Blocks of 16 × 16 pixels (whole chroma blocks, so the colours survive compression), a colour
// per letter, a row per string.
const std::vector<std::pair<char, Rgba>> kBlockColours = {
    {'A', {255, 0, 0, 255}},   {'B', {0, 255, 0, 255}}, {'C', {0, 0, 255, 255}},
    {'D', {255, 255, 0, 255}}, {'E', {0, 0, 0, 255}},   {'F', {255, 255, 255, 255}}};

Rgba colourOf(char letter) {
  for (const auto& [l, colour] : kBlockColours) {
    if (l == letter) return colour;
  }
  return {};
}

std::vector<uint8_t> blockJpeg(const std::vector<std::string>& rows) {
  constexpr int kBlock = 16;
  JpegSpec recipe{int(rows[0].size()) * kBlock, int(rows.size()) * kBlock};
  for (int y = 0; y < recipe.height; ++y) {
    for (int x = 0; x < recipe.width; ++x) {
      const Rgba c = colourOf(rows[size_t(y / kBlock)][size_t(x / kBlock)]);
      recipe.samples.insert(recipe.samples.end(), {c.r, c.g, c.b});
    }
  }
  return makeJpeg(recipe);
}

void expectBlocks(const Picture& picture, const std::vector<std::string>& rows,
                  const std::string& label) {
  ASSERT_EQ(picture.width() * int(rows.size()), picture.height() * int(rows[0].size())) << label;
  const int block = picture.height() / int(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const Rgba actual = picture.pixelAt(int(c) * block + block / 2, int(r) * block + block / 2);
      EXPECT_TRUE(near(actual, colourOf(rows[r][c]), 24))
          << label << ": block " << rows[r][c] << " reads " << int(actual.r) << "," << int(actual.g)
          << "," << int(actual.b);
    }
  }
}

// The upright picture is ABC over DEF; each case stores it as a camera does with that tag.
TEST(PictureDecoderTest, JpegComesOutUprightForEveryOrientationAtEveryScale) {
  const std::vector<std::pair<uint16_t, std::vector<std::string>>> stored = {
      {1, {"ABC", "DEF"}},     {2, {"CBA", "FED"}},     {3, {"FED", "CBA"}},
      {4, {"DEF", "ABC"}},     {5, {"AD", "BE", "CF"}}, {6, {"CF", "BE", "AD"}},
      {7, {"FC", "EB", "DA"}}, {8, {"DA", "EB", "FC"}}};
  for (const auto& [tag, rows] : stored) {
    const std::vector<uint8_t> jpeg = testing::withApp1(blockJpeg(rows), testing::exifPayload(tag));
    // The stored picture is 48 × 32 or 32 × 48; 1 × 1 asks for the 1/8 decode.
    for (PictureSize minimum : {PictureSize{1, 1}, PictureSize{48, 32}}) {
      const std::string label = "orientation " + std::to_string(tag) + " at least " +
                                std::to_string(minimum.width) + "x" +
                                std::to_string(minimum.height);
      Result<Picture> upright = decodePictureUpright(jpeg, minimum);
      ASSERT_TRUE(upright.ok()) << label << ": " << upright.status().toString();
      EXPECT_EQ(upright->width(), minimum.width == 1 ? 6 : 48) << label;
      expectBlocks(*upright, {"ABC", "DEF"}, label);
    }
    // decodePicture keeps the stored order.
    expectBlocks(*decodePicture(testing::withApp1(blockJpeg(rows), testing::exifPayload(tag))),
                 rows, "stored " + std::to_string(tag));
  }
}

TEST(PictureDecoderTest, ScaledDecodeIsTheSmallestThatCoversTheMinimumUpright) {
  const std::vector<uint8_t> plain = quadrantJpeg(800, 600, false);
  const std::vector<uint8_t> turned = testing::withApp1(plain, testing::exifPayload(6));
  struct Case {
    const std::vector<uint8_t>* file;
    PictureSize minimum;
    PictureSize expected;
  };
  for (const Case& c : std::vector<Case>{
           {&plain, {100, 75}, {100, 75}},     // 1/8 exactly
           {&plain, {101, 75}, {200, 150}},    // one pixel more: 1/4
           {&plain, {150, 200}, {400, 300}},   // 1/4 is 150 high only
           {&turned, {150, 200}, {150, 200}},  // upright 600 × 800: 1/4 suffices
           {&turned, {100, 75}, {150, 200}},   // 1/8 is 75 wide upright
           {&plain, {320, 370}, {800, 600}},   // only the full size covers it
           {&plain, {5000, 10}, {800, 600}},   // never enlarged
           {&plain, {0, -3}, {100, 75}},       // sides below 1 count as 1
       }) {
    Result<Picture> decoded = decodePictureUpright(*c.file, c.minimum);
    ASSERT_TRUE(decoded.ok()) << decoded.status().toString();
    EXPECT_EQ((PictureSize{decoded->width(), decoded->height()}), c.expected)
        << (c.file == &turned ? "turned " : "") << c.minimum.width << "x" << c.minimum.height;
  }
  // Odd sizes round up, as libjpeg does.
  Result<Picture> odd = decodePictureUpright(quadrantJpeg(801, 601, false), {1, 1});
  ASSERT_TRUE(odd.ok());
  EXPECT_EQ((PictureSize{odd->width(), odd->height()}), (PictureSize{101, 76}));
  // PNG has no scaled decode: it comes whole.
  Result<Picture> png = decodePictureUpright(*encodePng(gradient(40, 30)), {1, 1});
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png->width(), 40);
}

// A 12-megapixel photo of some 5 MB from a phone held upright (stored sideways): within the
// limits, and brought down to what a 320 × 370 thumbnail needs by the 1/8 decode.
TEST(PictureDecoderTest, APhoneSizedPhotoIsDecodedAtAnEighth) {
  JpegSpec recipe{4032, 3024};
  recipe.quality = 90;
  recipe.samples = testing::photoRgb(4032, 3024, 1);
  const std::vector<uint8_t> photo =
      testing::withApp1(makeJpeg(recipe), testing::exifPayload(6, testing::ByteOrder::kMotorola));
  EXPECT_GT(photo.size(), 4u << 20);
  EXPECT_LT(photo.size(), kMaxPictureBytes);
  Result<Picture> upright = decodePictureUpright(photo, {320, 370});
  ASSERT_TRUE(upright.ok()) << upright.status().toString();
  EXPECT_EQ(upright->width(), 378);
  EXPECT_EQ(upright->height(), 504);
}

TEST(PictureDecoderTest, ScaledDecodeStillRefusesWhatIsNotWhole) {
  const std::vector<uint8_t> jpeg =
      testing::withApp1(quadrantJpeg(64, 48, true), testing::exifPayload(8));
  ASSERT_TRUE(decodePictureUpright(jpeg, {1, 1}).ok());
  for (size_t length = 0; length < jpeg.size(); ++length) {
    const std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(length));
    EXPECT_FALSE(decodePictureUpright(cut, {1, 1}).ok()) << "length " << length;
  }
  // A size forged larger than the data holds runs out of data even at an eighth.
  std::vector<uint8_t> forged = quadrantJpeg(16, 16, false);
  testing::forgeJpegSize(forged, 3000, 3000);
  EXPECT_EQ(decodePictureUpright(forged, {1, 1}).status().code(), Status::Code::kCorrupt);
  // An unreadable EXIF block only loses the orientation.
  std::vector<uint8_t> badExif = testing::exifPayload(6);
  badExif[10] = 0xff;  // IFD0 offset far past the end
  Result<Picture> asStored =
      decodePictureUpright(testing::withApp1(quadrantJpeg(64, 48, false), badExif), {64, 48});
  ASSERT_TRUE(asStored.ok());
  EXPECT_EQ(asStored->width(), 64);
  expectQuadrants(*asStored);
}

// A camera's XMP block shares the APP1 marker; the EXIF block after it still counts.
TEST(PictureDecoderTest, TheExifBlockIsFoundAmongOtherApp1Segments) {
  const std::string xmp = "http://ns.adobe.com/xap/1.0/";
  std::vector<uint8_t> xmpPayload(xmp.begin(), xmp.end());
  xmpPayload.push_back(0);
  const std::vector<uint8_t> jpeg = testing::withApp1(
      testing::withApp1(blockJpeg({"DEF", "ABC"}), testing::exifPayload(4)), xmpPayload);
  Result<Picture> upright = decodePictureUpright(jpeg, {1, 1});
  ASSERT_TRUE(upright.ok());
  expectBlocks(*upright, {"ABC", "DEF"}, "after XMP");
}

}  // namespace
}  // namespace kinetra
