#include "graphics/PictureHeader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "graphics/TestPictures.h"

namespace kinetra {
namespace {

using testing::forgeJpegSize;
using testing::forgePngSize;
using testing::JpegSpec;
using testing::makeJpeg;
using testing::makePng;

std::vector<uint8_t> smallPng(int width, int height) {
  testing::PngSpec recipe{width, height, PNG_COLOR_TYPE_GRAY, 8};
  recipe.rows.assign(size_t(width) * size_t(height), 0x80);
  return makePng(recipe);
}

std::vector<uint8_t> smallJpeg(int width, int height, bool progressive = false) {
  JpegSpec recipe{width, height};
  recipe.progressive = progressive;
  recipe.samples = testing::quadrantRgb(width, height);
  return makeJpeg(recipe);
}

std::vector<uint8_t> gifHeader(uint16_t width, uint16_t height) {
  return {'G',
          'I',
          'F',
          '8',
          '9',
          'a',
          uint8_t(width),
          uint8_t(width >> 8),
          uint8_t(height),
          uint8_t(height >> 8),
          0,
          0,
          0};
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(PictureHeaderTest, SniffsTheTypeFromContentAlone) {
  EXPECT_EQ(sniffPictureType(smallPng(3, 2)), PictureType::kPng);
  EXPECT_EQ(sniffPictureType(smallJpeg(8, 8)), PictureType::kJpeg);
  EXPECT_EQ(sniffPictureType(gifHeader(1, 1)), PictureType::kGif);
  EXPECT_EQ(sniffPictureType(bytesOf("GIF87a")), PictureType::kGif);

  EXPECT_EQ(sniffPictureType({}), PictureType::kUnknown);
  EXPECT_EQ(sniffPictureType(bytesOf("GIF88a")), PictureType::kUnknown);
  EXPECT_EQ(sniffPictureType(bytesOf("\x89PNG\r\n")), PictureType::kUnknown);  // cut short
  EXPECT_EQ(sniffPictureType(bytesOf("<html>")), PictureType::kUnknown);

  EXPECT_EQ(mimeType(PictureType::kPng), "image/png");
  EXPECT_EQ(mimeType(PictureType::kJpeg), "image/jpeg");
  EXPECT_EQ(mimeType(PictureType::kGif), "image/gif");
  EXPECT_EQ(mimeType(PictureType::kUnknown), "application/octet-stream");
}

TEST(PictureHeaderTest, ReadsTheDeclaredSizeOfEachType) {
  EXPECT_EQ(*pictureSize(smallPng(37, 21)), (PictureSize{37, 21}));
  // libjpeg puts a JFIF segment and our comment before the frame header.
  EXPECT_EQ(*pictureSize(smallJpeg(50, 30)), (PictureSize{50, 30}));
  EXPECT_EQ(*pictureSize(smallJpeg(17, 9, true)), (PictureSize{17, 9}));
  EXPECT_EQ(*pictureSize(gifHeader(300, 200)), (PictureSize{300, 200}));
}

TEST(PictureHeaderTest, RefusesSizesOverTheLimitsFromTheHeader) {
  std::vector<uint8_t> png = smallPng(2, 2);
  forgePngSize(png, 20000, 10);
  EXPECT_EQ(pictureSize(png).status().code(), Status::Code::kTooLarge);
  forgePngSize(png, 8000, 8000);
  EXPECT_EQ(pictureSize(png).status().code(), Status::Code::kTooLarge);
  forgePngSize(png, 10001, 1);
  EXPECT_EQ(pictureSize(png).status().code(), Status::Code::kTooLarge);
  forgePngSize(png, 0xffffffffu, 1);
  EXPECT_FALSE(pictureSize(png).ok());
  forgePngSize(png, 10000, 4000);  // exactly 40 megapixels is allowed
  EXPECT_EQ(*pictureSize(png), (PictureSize{10000, 4000}));

  std::vector<uint8_t> jpeg = smallJpeg(16, 16);
  forgeJpegSize(jpeg, 8000, 8000);
  EXPECT_EQ(pictureSize(jpeg).status().code(), Status::Code::kTooLarge);

  EXPECT_EQ(pictureSize(gifHeader(65535, 2)).status().code(), Status::Code::kTooLarge);
}

TEST(PictureHeaderTest, EmptySizesAndMalformedHeadersAreCorrupt) {
  std::vector<uint8_t> png = smallPng(2, 2);
  forgePngSize(png, 0, 5);
  EXPECT_EQ(pictureSize(png).status().code(), Status::Code::kCorrupt);
  EXPECT_EQ(pictureSize(gifHeader(0, 7)).status().code(), Status::Code::kCorrupt);

  // A JPEG whose image data starts before any frame header.
  EXPECT_EQ(pictureSize(bytesOf("\xff\xd8\xff\xda\x00\x02")).status().code(),
            Status::Code::kCorrupt);
  // A segment length that points past the end.
  EXPECT_EQ(pictureSize(bytesOf("\xff\xd8\xff\xe0\xff\xf0")).status().code(),
            Status::Code::kCorrupt);
  EXPECT_EQ(pictureSize({}).status().code(), Status::Code::kCorrupt);
  EXPECT_EQ(pictureSize(bytesOf("plain text")).status().code(), Status::Code::kCorrupt);
}

TEST(PictureHeaderTest, EveryTruncatedHeaderIsAnErrorNotACrash) {
  const std::vector<std::vector<uint8_t>> files = {smallPng(5, 4), smallJpeg(12, 10),
                                                   gifHeader(4, 4)};
  for (const std::vector<uint8_t>& file : files) {
    // Up to the size field and a little past it: all of these lack the size.
    const size_t sizeKnownAt = file[0] == 0x89 ? 24 : file[0] == 'G' ? 10 : 0;
    for (size_t length = 0; length < (sizeKnownAt != 0 ? sizeKnownAt : 20); ++length) {
      std::vector<uint8_t> cut(file.begin(), file.begin() + std::ptrdiff_t(length));
      EXPECT_EQ(pictureSize(cut).status().code(), Status::Code::kCorrupt) << length;
    }
  }
}

TEST(PictureHeaderTest, RefusesInputOverTwentyMebibytes) {
  std::vector<uint8_t> big = smallPng(2, 2);
  big.resize(kMaxPictureBytes + 1);
  EXPECT_EQ(pictureSize(big).status().code(), Status::Code::kTooLarge);
  big.resize(kMaxPictureBytes);
  EXPECT_TRUE(pictureSize(big).ok());
}

}  // namespace
}  // namespace kinetra
