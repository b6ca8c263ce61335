#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Picture files made on the spot with libpng and libjpeg, so the decoders are tested against
// the reference encoders rather than against our own.
namespace kinetra::testing {

struct PngSpec {
  PngSpec(int w, int h, int type, int depth)
      : width(w), height(h), colourType(type), bitDepth(depth) {}

  int width = 1;
  int height = 1;
  int colourType = 2;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint8_t> palette;       // RGB triples, for palette pictures
  std::vector<uint8_t> transparency;  // tRNS: alphas for palette entries
  std::vector<uint8_t> rows;          // packed rows as libpng expects them
};
std::vector<uint8_t> makePng(const PngSpec& recipe);

enum class JpegColours { kRgb, kGray, kAdobeCmyk };
struct JpegSpec {
  JpegSpec(int w, int h, JpegColours c = JpegColours::kRgb) : width(w), height(h), colours(c) {}

  int width = 1;
  int height = 1;
  JpegColours colours = JpegColours::kRgb;
  bool progressive = false;
  int quality = 95;
  std::vector<uint8_t> samples;  // 3, 1 or 4 bytes per pixel by colours
};
std::vector<uint8_t> makeJpeg(const JpegSpec& recipe);

// Samples of a width × height RGB picture split into four quadrants: red, green / blue, white.
std::vector<uint8_t> quadrantRgb(int width, int height);

// Rewrites a PNG's IHDR size and fixes its CRC, so only the declared size is wrong.
void forgePngSize(std::vector<uint8_t>& png, uint32_t width, uint32_t height);

// Rewrites the size in a JPEG's first start-of-frame segment.
void forgeJpegSize(std::vector<uint8_t>& jpeg, uint16_t width, uint16_t height);

// Samples of a width × height RGB picture of noise around a slow gradient: it compresses about
// as badly as a phone's photo (some 5 MB for 4032 × 3024 at quality 90), the same for a seed.
std::vector<uint8_t> photoRgb(int width, int height, uint32_t seed);

// The payload of an APP1 segment as a camera writes it: "Exif\0\0", a TIFF header in the given
// byte order and an IFD0 of three entries (a make, the orientation, a resolution unit), then
// the end of the IFD chain.
enum class ByteOrder { kIntel, kMotorola };
std::vector<uint8_t> exifPayload(uint16_t orientation, ByteOrder order = ByteOrder::kIntel);

// Inserts an APP1 segment holding `payload` right after the JPEG's start-of-image marker, where
// a camera puts its EXIF block.
std::vector<uint8_t> withApp1(std::vector<uint8_t> jpeg, std::span<const uint8_t> payload);

}  // namespace kinetra::testing
