#pragma once

#include <cstdint>
#include <span>

#include "foundation/Status.h"
#include "graphics/Picture.h"

namespace kinetra {

// Decodes a whole JPEG file with libjpeg: baseline and progressive; YCbCr, RGB and grayscale
// come out as opaque RGBA, CMYK and YCCK are converted to RGB (Adobe's inverted CMYK when the
// file carries an Adobe marker). The EXIF orientation is not applied: pixels come out in
// stored order. The input size and the declared size are checked against the limits
// (pictureSize) before anything is allocated.
// Errors: TooLarge over the limits or for more than 100 progressive scans; Corrupt for
// truncated or damaged data (premature end, bad Huffman codes, ...) and for colour spaces other
// than the above. Never returns a partial picture.
Result<Picture> decodeJpeg(std::span<const uint8_t> bytes);

}  // namespace kinetra
