#include "catalogue/CustomExercisePhoto.h"

#include <span>
#include <utility>

#include "graphics/PictureDecoder.h"
#include "graphics/PictureScaler.h"
#include "graphics/PngEncoder.h"

namespace kinetra {

namespace {

Result<Image> drawn(const Picture& source, int width, int height) {
  Result<Picture> scaled = scalePicture(source, width, height);
  if (!scaled.ok()) return scaled.status();
  Result<std::vector<std::uint8_t>> png = encodePng(*scaled);
  if (!png.ok()) return png.status();
  Image image = Image::fromBytes(std::move(*png));
  if (image.empty()) return Status::Corrupt("the drawn picture does not read back");
  return image;
}

}  // namespace

Result<CustomExercisePhoto> CustomExercisePhoto::from(const Image& photo) {
  // Decoded no larger than the bigger drawing needs, and turned upright: a phone stores its
  // photos sideways with the turn in the EXIF block.
  Result<Picture> decoded = decodePictureUpright(std::span<const std::uint8_t>(photo.bytes()),
                                                 {kPictureWidth, kPictureHeight});
  if (!decoded.ok()) return decoded.status();
  Result<Image> picture = drawn(*decoded, kPictureWidth, kPictureHeight);
  if (!picture.ok()) return picture.status();
  Result<Image> thumbnail = drawn(*decoded, kThumbnailWidth, kThumbnailHeight);
  if (!thumbnail.ok()) return thumbnail.status();
  return CustomExercisePhoto{std::move(*picture), std::move(*thumbnail)};
}

}  // namespace kinetra
