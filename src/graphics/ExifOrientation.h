#pragma once

#include <cstdint>
#include <span>

#include "graphics/Picture.h"
#include "graphics/PictureHeader.h"

namespace kinetra {

// How a picture's stored pixels stand relative to the upright picture, as the EXIF Orientation
// tag of a camera's JPEG records it (the values are the tag's). Each name says what turns the
// stored pixels upright.
enum class ExifOrientation : uint8_t {
  kUpright = 1,     // stored upright
  kMirrored = 2,    // mirror left to right
  kRotated180 = 3,  // turn half round
  kFlipped = 4,     // mirror top to bottom
  kTransposed = 5,  // swap rows and columns (mirror about the top-left diagonal)
  kRotated90 = 6,   // turn a quarter clockwise
  kTransverse = 7,  // mirror about the top-right diagonal
  kRotated270 = 8,  // turn a quarter anticlockwise
};

// True when an APP1 segment's payload is an EXIF block (it starts "Exif\0\0"); other APP1
// kinds (XMP, ...) share the marker.
bool holdsExif(std::span<const uint8_t> app1Payload);

// The orientation recorded in the payload of a JPEG's APP1 segment: "Exif\0\0", then a TIFF
// header ("II" or "MM", 42, the offset of IFD0) and IFD0's entries, where tag 0x0112 holds the
// orientation as one SHORT. Only IFD0 is read, so a chain of IFDs cannot make it loop. The
// payload is hostile input: anything unexpected (another APP1 kind, offsets or counts that run
// past the end, a wrong type or count, two orientation entries, a value outside 1-8) gives
// kUpright, and nothing is read outside the span.
ExifOrientation readExifOrientation(std::span<const uint8_t> app1Payload);

// True for the orientations that swap width and height (transposed, rotated a quarter,
// transverse).
bool swapsSides(ExifOrientation orientation);

// The size of the upright picture whose stored pixels are `stored` in that orientation.
PictureSize uprightSize(PictureSize stored, ExifOrientation orientation);

// The picture turned upright: the stored pixels moved as the orientation says, each pixel kept
// exactly. An upright or empty picture comes back as it was, without a copy.
Picture orientPicture(Picture stored, ExifOrientation orientation);

}  // namespace kinetra
