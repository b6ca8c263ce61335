#include "graphics/PictureDecoder.h"

#include "graphics/JpegDecoder.h"
#include "graphics/PictureHeader.h"
#include "graphics/PngDecoder.h"

namespace kinetra {

namespace {

// The decoders are picked by content; a JPEG goes to `jpeg`.
template <typename JpegDecode>
Result<Picture> decodeByContent(std::span<const uint8_t> bytes, JpegDecode jpeg) {
  Result<PictureSize> declared = pictureSize(bytes);
  if (!declared.ok()) return declared.status();
  switch (sniffPictureType(bytes)) {
    case PictureType::kPng:
      return decodePng(bytes);
    case PictureType::kJpeg:
      return jpeg(bytes);
    case PictureType::kGif:
      return Status::InvalidArgument("GIF pictures are not decoded");
    case PictureType::kUnknown:
      break;
  }
  return Status::Corrupt("not a PNG or JPEG picture");
}

}  // namespace

Result<Picture> decodePicture(std::span<const uint8_t> bytes) {
  return decodeByContent(bytes, [](std::span<const uint8_t> jpeg) { return decodeJpeg(jpeg); });
}

Result<Picture> decodePictureUpright(std::span<const uint8_t> bytes, PictureSize minimum) {
  return decodeByContent(
      bytes, [minimum](std::span<const uint8_t> jpeg) { return decodeJpegUpright(jpeg, minimum); });
}

}  // namespace kinetra
