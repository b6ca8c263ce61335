// Fuzz target for the picture decoders (PictureHeader, PictureDecoder, PngDecoder, JpegDecoder):
// any bytes give a picture within the limits or a refusal, never a partial picture. A picture
// decoded has the size its header declares, holds exactly its pixels, and decodes upright as
// well (the same file judged whole the same way); the upright decode of a JPEG is at one of
// libjpeg's reductions of the declared size, turned; a PNG's is the stored picture itself.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "graphics/ExifOrientation.h"
#include "graphics/JpegDecoder.h"
#include "graphics/PictureDecoder.h"
#include "graphics/PictureHeader.h"
#include "graphics/PngDecoder.h"

namespace {

using namespace kinetra;

void checkWithinLimits(const Picture& picture) {
  FUZZ_CHECK(checkPictureSize(picture.width(), picture.height()).ok());
  FUZZ_CHECK(picture.rgba().size() ==
             static_cast<std::size_t>(picture.width()) * picture.height() * 4);
}

bool isReduction(int reduced, int full) {
  for (int scale : {1, 2, 4, 8}) {
    if (reduced == (full + scale - 1) / scale) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const PictureType type = sniffPictureType(bytes);
  const Result<PictureSize> declared = pictureSize(bytes);
  Result<Picture> picture = decodePicture(bytes);

  // The decoder of its type agrees with the dispatcher.
  if (type == PictureType::kPng) {
    const Result<Picture> png = decodePng(bytes);
    FUZZ_CHECK(png.ok() == picture.ok());
  } else if (type == PictureType::kJpeg) {
    const Result<Picture> jpeg = decodeJpeg(bytes);
    FUZZ_CHECK(jpeg.ok() == picture.ok());
  }

  const Result<Picture> upright = decodePictureUpright(bytes, PictureSize{35, 40});
  FUZZ_CHECK(upright.ok() == picture.ok());
  if (!picture.ok()) {
    const auto code = picture.status().code();
    FUZZ_CHECK(fuzz::isRefusal(picture.status()) ||
               (type == PictureType::kGif && code == Status::Code::kInvalidArgument));
    return 0;
  }

  FUZZ_CHECK(type == PictureType::kPng || type == PictureType::kJpeg);
  checkWithinLimits(*picture);
  checkWithinLimits(*upright);
  FUZZ_CHECK(declared.ok());
  FUZZ_CHECK(declared->width == picture->width() && declared->height == picture->height());
  if (type == PictureType::kPng) {
    FUZZ_CHECK(upright->width() == picture->width() && upright->height() == picture->height());
    FUZZ_CHECK(upright->rgba() == picture->rgba());
    return 0;
  }
  // Turned or not, each side is a reduction of one of the declared sides.
  const bool straight = isReduction(upright->width(), declared->width) &&
                        isReduction(upright->height(), declared->height);
  const bool turned = isReduction(upright->width(), declared->height) &&
                      isReduction(upright->height(), declared->width);
  FUZZ_CHECK(straight || turned);
  return 0;
}
