#pragma once

#include <cstdint>
#include <span>

#include "foundation/Status.h"
#include "graphics/Picture.h"
#include "graphics/PictureHeader.h"

namespace kinetra {

// Decodes a picture file by its content (sniffPictureType), never by its name: PNG and JPEG.
// The input size and the header's declared size are checked against the limits in
// PictureHeader.h before any pixel memory is allocated.
// Errors: TooLarge (input over kMaxPictureBytes, size over the limits); Corrupt (empty,
// unknown, truncated or damaged data); InvalidArgument for a GIF, whose size pictureSize reads
// but whose pixels are not decoded. A failure never yields a partial picture.
Result<Picture> decodePicture(std::span<const uint8_t> bytes);

// Decodes a picture file by its content at no more than the size needed, upright: what a photo
// from a phone's camera needs before it is scaled down to a thumbnail. `minimum` holds the
// largest width and the largest height of the pictures the caller will make from it with
// scalePicture (320 × 370 for a 35 × 40 and a 320 × 370 one). A JPEG is decoded at the
// smallest of libjpeg's reductions whose upright result is still at least `minimum` in both
// sides and turned by its EXIF orientation (decodeJpegUpright); a PNG is decoded whole, as
// stored. The result may be larger than `minimum` and, for a small picture, smaller than it:
// it is never enlarged. A minimum of 1 × 1 gives the cheapest decode that still reads every
// byte, which is how a picture is judged whole.
// Limits and errors are decodePicture's.
Result<Picture> decodePictureUpright(std::span<const uint8_t> bytes, PictureSize minimum);

}  // namespace kinetra
