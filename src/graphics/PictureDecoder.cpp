#include "graphics/PictureDecoder.h"

#include "graphics/JpegDecoder.h"
#include "graphics/PictureHeader.h"
#include "graphics/PngDecoder.h"

namespace kinetra {

Result<Picture> decodePicture(std::span<const uint8_t> bytes) {
  Result<PictureSize> declared = pictureSize(bytes);
  if (!declared.ok()) return declared.status();
  switch (sniffPictureType(bytes)) {
    case PictureType::kPng:
      return decodePng(bytes);
    case PictureType::kJpeg:
      return decodeJpeg(bytes);
    case PictureType::kGif:
      return Status::InvalidArgument("GIF pictures are not decoded");
    case PictureType::kUnknown:
      break;
  }
  return Status::Corrupt("not a PNG or JPEG picture");
}

}  // namespace kinetra
