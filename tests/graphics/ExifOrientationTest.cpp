#include "graphics/ExifOrientation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graphics/TestPictures.h"

namespace kinetra {
namespace {

using testing::ByteOrder;
using testing::exifPayload;

// A picture drawn with one colour per letter, a row per string.
Picture lettered(const std::vector<std::string>& rows) {
  std::vector<uint8_t> rgba;
  for (const std::string& row : rows) {
    for (char letter : row) rgba.insert(rgba.end(), {uint8_t(letter), uint8_t(letter * 3), 7, 255});
  }
  return *Picture::create(int(rows[0].size()), int(rows.size()), std::move(rgba));
}

// The upright picture is ABC over DEF; each case is how a camera stores it with that tag: where
// the stored first row and first column lie in the upright picture.
struct StoredCase {
  ExifOrientation orientation;
  std::vector<std::string> stored;
};
const std::vector<StoredCase> kStoredCases = {
    {ExifOrientation::kUpright, {"ABC", "DEF"}},         // first row top, first column left
    {ExifOrientation::kMirrored, {"CBA", "FED"}},        // top, right
    {ExifOrientation::kRotated180, {"FED", "CBA"}},      // bottom, right
    {ExifOrientation::kFlipped, {"DEF", "ABC"}},         // bottom, left
    {ExifOrientation::kTransposed, {"AD", "BE", "CF"}},  // left, top
    {ExifOrientation::kRotated90, {"CF", "BE", "AD"}},   // right, top
    {ExifOrientation::kTransverse, {"FC", "EB", "DA"}},  // right, bottom
    {ExifOrientation::kRotated270, {"DA", "EB", "FC"}},  // left, bottom
};

TEST(ExifOrientationTest, EveryOrientationComesOutUpright) {
  const Picture upright = lettered({"ABC", "DEF"});
  for (const StoredCase& c : kStoredCases) {
    const int tag = int(c.orientation);
    const Picture stored = lettered(c.stored);
    const PictureSize size = uprightSize({stored.width(), stored.height()}, c.orientation);
    EXPECT_EQ(size, (PictureSize{3, 2})) << "orientation " << tag;
    const Picture turned = orientPicture(stored, c.orientation);
    ASSERT_EQ(turned.width(), 3) << "orientation " << tag;
    ASSERT_EQ(turned.height(), 2) << "orientation " << tag;
    EXPECT_EQ(turned.rgba(), upright.rgba()) << "orientation " << tag;
  }
  EXPECT_TRUE(orientPicture(Picture(), ExifOrientation::kRotated90).empty());
}

TEST(ExifOrientationTest, ReadsTheTagInBothByteOrders) {
  for (ByteOrder order : {ByteOrder::kIntel, ByteOrder::kMotorola}) {
    for (uint16_t value = 1; value <= 8; ++value) {
      EXPECT_EQ(readExifOrientation(exifPayload(value, order)), ExifOrientation(value))
          << "value " << value << (order == ByteOrder::kIntel ? " II" : " MM");
    }
  }
}

// Byte offsets in exifPayload's block: the TIFF header starts at 6, IFD0 at 14, its entries at
// 16 (make, orientation at 28, resolution unit).
constexpr size_t kIfd0Offset = 10;
constexpr size_t kEntryCount = 14;
constexpr size_t kOrientationEntry = 28;

void put16(std::vector<uint8_t>& payload, size_t at, uint16_t value) {
  payload[at] = uint8_t(value);
  payload[at + 1] = uint8_t(value >> 8);
}

void put32(std::vector<uint8_t>& payload, size_t at, uint32_t value) {
  put16(payload, at, uint16_t(value));
  put16(payload, at + 2, uint16_t(value >> 16));
}

TEST(ExifOrientationTest, AnythingOddReadsAsUpright) {
  struct Case {
    std::string what;
    std::vector<uint8_t> payload;
  };
  std::vector<Case> cases;
  auto damaged = [&](std::string what, auto damage) {
    std::vector<uint8_t> payload = exifPayload(6);
    damage(payload);
    cases.push_back({std::move(what), std::move(payload)});
  };
  damaged("XMP, not EXIF", [](auto& p) { p[0] = 'h'; });
  damaged("empty", [](auto& p) { p.clear(); });
  damaged("unknown byte order", [](auto& p) { p[7] = 'M'; });
  damaged("not 42", [](auto& p) { p[8] = 43; });
  damaged("IFD0 past the end", [](auto& p) { put32(p, kIfd0Offset, 4000); });
  damaged("IFD0 offset that wraps", [](auto& p) { put32(p, kIfd0Offset, 0xfffffffe); });
  damaged("IFD0 inside the header", [](auto& p) { put32(p, kIfd0Offset, 0); });
  damaged("entries past the end", [](auto& p) { put16(p, kEntryCount, 0xffff); });
  damaged("no entries", [](auto& p) { put16(p, kEntryCount, 0); });
  damaged("cut inside the entry", [](auto& p) { p.resize(kOrientationEntry + 9); });
  damaged("type LONG", [](auto& p) { put16(p, kOrientationEntry + 2, 4); });
  damaged("count 2", [](auto& p) { put32(p, kOrientationEntry + 4, 2); });
  damaged("value 0", [](auto& p) { put16(p, kOrientationEntry + 8, 0); });
  damaged("value 9", [](auto& p) { put16(p, kOrientationEntry + 8, 9); });
  // The make's entry turned into a second orientation of a different value.
  damaged("two orientations", [](auto& p) {
    put16(p, 16, 0x0112);
    put16(p, 18, 3);
    put32(p, 20, 1);
    put16(p, 24, 3);
  });
  for (const Case& c : cases) {
    EXPECT_EQ(readExifOrientation(c.payload), ExifOrientation::kUpright) << c.what;
  }
  // The check above would pass for a reader that never finds anything: the undamaged block and
  // one with the orientation as its only entry are read.
  EXPECT_EQ(readExifOrientation(exifPayload(6)), ExifOrientation::kRotated90);
  std::vector<uint8_t> single = exifPayload(8);
  put16(single, kEntryCount, 1);
  std::copy(single.begin() + kOrientationEntry, single.begin() + kOrientationEntry + 12,
            single.begin() + 16);
  EXPECT_EQ(readExifOrientation(single), ExifOrientation::kRotated270);
}

// Every cut before the end of the orientation's value reads as upright; random bytes after a
// valid header never read past the block (the sanitizer build checks the accesses).
TEST(ExifOrientationTest, TruncatedOrRandomBlocksAreReadSafely) {
  const std::vector<uint8_t> whole = exifPayload(3, ByteOrder::kMotorola);
  for (size_t length = 0; length < kOrientationEntry + 10; ++length) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
    EXPECT_EQ(readExifOrientation(cut), ExifOrientation::kUpright) << "length " << length;
  }
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> block =
        exifPayload(5, round % 2 ? ByteOrder::kIntel : ByteOrder::kMotorola);
    block.resize(6 + 8 + random() % 64);
    for (size_t i = 14; i < block.size(); ++i) block[i] = uint8_t(random() % 3 ? random() : 0);
    const int value = int(readExifOrientation(block));
    EXPECT_TRUE(value >= 1 && value <= 8);
  }
}

}  // namespace
}  // namespace kinetra
