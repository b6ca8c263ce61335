#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "foundation/Status.h"

namespace kinetra {

// What a picture file holds, judged by its first bytes only; file names are never consulted.
enum class PictureType { kUnknown, kPng, kJpeg, kGif };

// Limits every picture reader holds to. A picture over them is refused from its header, before
// any pixel memory is allocated.
inline constexpr size_t kMaxPictureBytes = 20 * 1024 * 1024;  // encoded input
inline constexpr int kMaxPictureSide = 10'000;                // pixels, each of width and height
inline constexpr int64_t kMaxPicturePixels = 40'000'000;      // width × height

struct PictureSize {
  int width = 0;   // pixels
  int height = 0;  // pixels

  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The type by magic bytes: PNG signature, JPEG start-of-image marker, "GIF87a"/"GIF89a".
PictureType sniffPictureType(std::span<const uint8_t> bytes);

// "image/png", "image/jpeg", "image/gif"; "application/octet-stream" for kUnknown.
std::string_view mimeType(PictureType type);

// Ok when width and height are positive and within kMaxPictureSide and kMaxPicturePixels;
// TooLarge otherwise (Corrupt for a size of zero or below).
Status checkPictureSize(int64_t width, int64_t height);

// The size a PNG, JPEG or GIF declares in its header, without decoding pixels. For JPEG this
// walks the marker segments up to the first start-of-frame.
// Errors: TooLarge for input over kMaxPictureBytes or a size over the limits; Corrupt for
// unknown, truncated or malformed headers.
Result<PictureSize> pictureSize(std::span<const uint8_t> bytes);

}  // namespace kinetra
