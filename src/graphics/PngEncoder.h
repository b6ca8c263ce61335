#pragma once

#include <cstdint>
#include <vector>

#include "foundation/Status.h"
#include "graphics/Picture.h"

namespace kinetra {

// Encodes a picture as an 8-bit RGBA, non-interlaced PNG file. Pixels round-trip exactly
// through decodePicture, alpha included.
// Errors: InvalidArgument for an empty picture; IOError if libpng fails (out of memory).
Result<std::vector<uint8_t>> encodePng(const Picture& picture);

}  // namespace kinetra
