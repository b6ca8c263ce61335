#pragma once

#include <cstdint>
#include <span>

#include "foundation/Status.h"
#include "graphics/Picture.h"

namespace kinetra {

// Decodes a picture file by its content (sniffPictureType), never by its name: PNG and JPEG.
// The input size and the header's declared size are checked against the limits in
// PictureHeader.h before any pixel memory is allocated.
// Errors: TooLarge (input over kMaxPictureBytes, size over the limits); Corrupt (empty,
// unknown, truncated or damaged data); InvalidArgument for a GIF, whose size pictureSize reads
// but whose pixels are not decoded. A failure never yields a partial picture.
Result<Picture> decodePicture(std::span<const uint8_t> bytes);

}  // namespace kinetra
