// Fuzz target for the EXIF orientation reader: any APP1 payload gives one of the eight
// orientations (upright for anything unexpected). Turning a small picture by it keeps every
// pixel, gives the size uprightSize() promises, and four quarter turns or two mirrorings of the
// same kind give the picture back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "graphics/ExifOrientation.h"

namespace {

using namespace kinetra;

Picture numbered(int width, int height) {
  std::vector<std::uint8_t> rgba;
  for (int i = 0; i < width * height; ++i) {
    rgba.insert(rgba.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8),
                             static_cast<std::uint8_t>(i >> 16), 255});
  }
  return Picture::create(width, height, std::move(rgba)).value();
}

std::vector<std::uint32_t> sortedPixels(const Picture& picture) {
  std::vector<std::uint32_t> pixels;
  const auto& rgba = picture.rgba();
  for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
    pixels.push_back(static_cast<std::uint32_t>(rgba[i]) | (rgba[i + 1] << 8) |
                     (rgba[i + 2] << 16) | (static_cast<std::uint32_t>(rgba[i + 3]) << 24));
  }
  std::sort(pixels.begin(), pixels.end());
  return pixels;
}

// The orientation that undoes `orientation`.
ExifOrientation inverse(ExifOrientation orientation) {
  if (orientation == ExifOrientation::kRotated90) return ExifOrientation::kRotated270;
  if (orientation == ExifOrientation::kRotated270) return ExifOrientation::kRotated90;
  return orientation;  // the others are their own inverse
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> payload(data, size);
  const ExifOrientation orientation = readExifOrientation(payload);
  const auto value = static_cast<int>(orientation);
  FUZZ_CHECK(value >= 1 && value <= 8);
  if (!holdsExif(payload)) FUZZ_CHECK(orientation == ExifOrientation::kUpright);

  const int width = 1 + (size % 5);
  const int height = 1 + (size / 5 % 4);
  const Picture stored = numbered(width, height);
  const Picture turned = orientPicture(stored, orientation);
  const PictureSize expected = uprightSize({width, height}, orientation);
  FUZZ_CHECK(turned.width() == expected.width && turned.height() == expected.height);
  FUZZ_CHECK(swapsSides(orientation) == (value >= 5));
  FUZZ_CHECK(sortedPixels(turned) == sortedPixels(stored));
  const Picture back = orientPicture(turned, inverse(orientation));
  FUZZ_CHECK(back.width() == width && back.height() == height && back.rgba() == stored.rgba());
  return 0;
}
