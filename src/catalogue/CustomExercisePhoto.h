#pragma once

#include "foundation/Status.h"
#include "ui/Image.h"

namespace kinetra {

// A photo picked for one of the user's own exercises, drawn stretched to fill the two sizes its
// files have (the aspect ratio is not kept) and encoded as PNG.
struct CustomExercisePhoto {
  static constexpr int kPictureWidth = 320;
  static constexpr int kPictureHeight = 370;
  static constexpr int kThumbnailWidth = 35;
  static constexpr int kThumbnailHeight = 40;

  Image picture;
  Image thumbnail;

  // The two drawings of `photo`, upright by its EXIF orientation. Fails when its bytes do not
  // decode as a picture.
  static Result<CustomExercisePhoto> from(const Image& photo);
};

}  // namespace kinetra
