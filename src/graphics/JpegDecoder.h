#pragma once

#include <cstdint>
#include <span>

#include "foundation/Status.h"
#include "graphics/Picture.h"
#include "graphics/PictureHeader.h"

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

// The same file decoded at the size needed and turned upright by its EXIF orientation (the
// first APP1 segment holding an EXIF block; none, or an unreadable one, means upright).
// libjpeg's DCT scaling decodes at the smallest of 1/8, 1/4, 1/2 and 1 of the stored size whose
// upright result is still at least `minimum` in both width and height (sides below 1 count as
// 1), so a 4032 × 3024 photo wanted at 320 × 370 comes out 378 × 504 (turned) or 504 × 378 and
// its full-size pixels are never held. A minimum larger than the picture gives the full size;
// nothing is enlarged. The limits and errors are decodeJpeg's, judged on the declared size, and
// the whole file is decoded at any scale, so truncated or damaged data is still Corrupt.
Result<Picture> decodeJpegUpright(std::span<const uint8_t> bytes, PictureSize minimum);

}  // namespace kinetra
