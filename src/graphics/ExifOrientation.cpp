#include "graphics/ExifOrientation.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace kinetra {

namespace {

constexpr std::array<uint8_t, 6> kExifSignature = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kTiffHeaderSize = 8;
constexpr size_t kEntrySize = 12;  // tag, type, count, value or offset

// Reads the TIFF block's numbers in its byte order; every read is bounds-checked and yields
// nothing past the end.
class TiffReader {
 public:
  TiffReader(std::span<const uint8_t> tiff, bool bigEndian) : tiff_(tiff), bigEndian_(bigEndian) {}

  std::optional<uint16_t> u16(size_t at) const {
    if (at > tiff_.size() || tiff_.size() - at < 2) return std::nullopt;
    const uint16_t a = tiff_[at], b = tiff_[at + 1];
    return bigEndian_ ? uint16_t(a << 8 | b) : uint16_t(b << 8 | a);
  }

  std::optional<uint32_t> u32(size_t at) const {
    const std::optional<uint16_t> first = u16(at), second = u16(at + 2);
    if (!first || !second) return std::nullopt;
    return bigEndian_ ? uint32_t(*first) << 16 | *second : uint32_t(*second) << 16 | *first;
  }

  size_t size() const { return tiff_.size(); }

 private:
  std::span<const uint8_t> tiff_;
  bool bigEndian_;
};

// The byte order from the TIFF header, checked against the magic number 42.
std::optional<TiffReader> tiffReader(std::span<const uint8_t> tiff) {
  if (tiff.size() < kTiffHeaderSize) return std::nullopt;
  std::optional<TiffReader> reader;
  if (tiff[0] == 'I' && tiff[1] == 'I') reader.emplace(tiff, false);
  if (tiff[0] == 'M' && tiff[1] == 'M') reader.emplace(tiff, true);
  if (!reader || reader->u16(2) != 42) return std::nullopt;
  return reader;
}

// The value of one IFD entry if it is a well-formed orientation; nullopt for any other tag.
// A malformed orientation entry yields 0, which no orientation has.
std::optional<uint16_t> orientationEntry(const TiffReader& reader, size_t entry) {
  if (reader.u16(entry) != kOrientationTag) return std::nullopt;
  if (reader.u16(entry + 2) != kShortType || reader.u32(entry + 4) != 1) return uint16_t(0);
  return reader.u16(entry + 8).value_or(0);  // a single SHORT sits in the value field itself
}

// The orientation value in IFD0, or 0 when it is missing or anything about it is odd.
uint16_t orientationValue(const TiffReader& reader) {
  const std::optional<uint32_t> ifd = reader.u32(4);
  if (!ifd || *ifd < kTiffHeaderSize) return 0;  // IFD0 inside the header
  const std::optional<uint16_t> count = reader.u16(*ifd);
  if (!count) return 0;
  const size_t entries = size_t(*ifd) + 2;
  if ((reader.size() - entries) / kEntrySize < *count) return 0;  // the entries run past the end
  uint16_t found = 0;
  for (size_t i = 0; i < *count; ++i) {
    const std::optional<uint16_t> value = orientationEntry(reader, entries + i * kEntrySize);
    if (!value) continue;
    if (found != 0 || *value == 0) return 0;  // a second entry, or a malformed one
    found = *value;
  }
  return found;
}

// Where the stored pixel for the upright pixel (X, Y) lies: base + X·alongRow + Y·alongColumn,
// in pixels of the stored picture.
struct SourceWalk {
  ptrdiff_t base = 0;
  ptrdiff_t alongRow = 1;
  ptrdiff_t alongColumn = 0;
};

SourceWalk sourceWalk(ExifOrientation orientation, ptrdiff_t w, ptrdiff_t h) {
  const ptrdiff_t lastColumn = w - 1, lastRow = (h - 1) * w;
  switch (orientation) {
    case ExifOrientation::kUpright:
      break;
    case ExifOrientation::kMirrored:
      return {lastColumn, -1, w};
    case ExifOrientation::kRotated180:
      return {lastRow + lastColumn, -1, -w};
    case ExifOrientation::kFlipped:
      return {lastRow, 1, -w};
    case ExifOrientation::kTransposed:
      return {0, w, 1};
    case ExifOrientation::kRotated90:
      return {lastRow, -w, 1};
    case ExifOrientation::kTransverse:
      return {lastRow + lastColumn, -w, -1};
    case ExifOrientation::kRotated270:
      return {lastColumn, w, -1};
  }
  return {0, 1, w};
}

}  // namespace

bool holdsExif(std::span<const uint8_t> app1Payload) {
  return app1Payload.size() >= kExifSignature.size() &&
         std::equal(kExifSignature.begin(), kExifSignature.end(), app1Payload.begin());
}

ExifOrientation readExifOrientation(std::span<const uint8_t> app1Payload) {
  if (!holdsExif(app1Payload)) return ExifOrientation::kUpright;
  const std::optional<TiffReader> reader = tiffReader(app1Payload.subspan(kExifSignature.size()));
  if (!reader) return ExifOrientation::kUpright;
  const uint16_t value = orientationValue(*reader);
  if (value < 1 || value > 8) return ExifOrientation::kUpright;
  return ExifOrientation(value);
}

bool swapsSides(ExifOrientation orientation) {
  return orientation >= ExifOrientation::kTransposed && orientation <= ExifOrientation::kRotated270;
}

PictureSize uprightSize(PictureSize stored, ExifOrientation orientation) {
  if (swapsSides(orientation)) return {stored.height, stored.width};
  return stored;
}

Picture orientPicture(Picture stored, ExifOrientation orientation) {
  if (orientation == ExifOrientation::kUpright || stored.empty()) return stored;
  const PictureSize size = uprightSize({stored.width(), stored.height()}, orientation);
  const SourceWalk walk = sourceWalk(orientation, stored.width(), stored.height());
  const uint8_t* source = stored.rgba().data();
  std::vector<uint8_t> upright(stored.rgba().size());
  uint8_t* out = upright.data();
  for (ptrdiff_t y = 0; y < size.height; ++y) {
    ptrdiff_t from = walk.base + y * walk.alongColumn;
    for (ptrdiff_t x = 0; x < size.width; ++x, from += walk.alongRow, out += 4) {
      std::memcpy(out, source + from * 4, 4);
    }
  }
  // The size is the stored one with its sides perhaps swapped, so create cannot fail.
  return Picture::create(size.width, size.height, std::move(upright)).value();
}

}  // namespace kinetra
