#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "foundation/Status.h"
#include "graphics/Picture.h"

namespace kinetra {

// How hard the encoder works at making the file small. The pixels are the same either way.
enum class PngEffort {
  kSmallest,  // for files kept: zlib's default level and libpng's adaptive filters
  kFastest,   // for pictures sent to a screen at once: no filter, zlib's fastest level
};

// Encodes a picture as an 8-bit RGBA, non-interlaced PNG file. Pixels round-trip exactly
// through decodePicture, alpha included.
// Errors: InvalidArgument for an empty picture; IOError if libpng fails (out of memory).
Result<std::vector<uint8_t>> encodePng(const Picture& picture,
                                       PngEffort effort = PngEffort::kSmallest);

// The same for pixels handed over a row at a time, top row first: `row(y)` gives row y as
// width × 4 bytes of RGBA, which need stay valid only until the next call.
// Errors: InvalidArgument for a width or height below 1; IOError if libpng fails.
using PngRows = std::function<const uint8_t*(int y)>;
Result<std::vector<uint8_t>> encodePng(int width, int height, const PngRows& row,
                                       PngEffort effort = PngEffort::kSmallest);

}  // namespace kinetra
