#pragma once

#include <cstdint>
#include <span>

#include "foundation/Status.h"
#include "graphics/Picture.h"

namespace kinetra {

// Decodes a whole PNG file with libpng: palette, gray, 16-bit, tRNS and interlaced pictures all
// come out as 8-bit RGBA. The input size and the size the header declares are checked against
// the limits (pictureSize) before anything is allocated.
// Errors: TooLarge over the limits, Corrupt for anything libpng rejects (bad CRC, truncated
// data, missing image data). Never returns a partial picture.
Result<Picture> decodePng(std::span<const uint8_t> bytes);

}  // namespace kinetra
