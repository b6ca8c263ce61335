#pragma once

#include "foundation/Status.h"
#include "graphics/Picture.h"

namespace kinetra {

// Draws the picture stretched to fill width × height pixels; the aspect ratio is not kept.
// Resampling is separable with a triangle filter on premultiplied colour: bilinear when
// enlarging, and widened to the shrink factor when reducing, so every source pixel contributes
// (area averaging) and a 3000 × 4000 photo comes down to a 35 × 40 thumbnail without aliasing.
// Transparent pixels never bleed their colour into their neighbours.
// Errors: InvalidArgument for an empty picture or a size below 1; TooLarge for a size over
// the picture limits (PictureHeader.h).
Result<Picture> scalePicture(const Picture& picture, int width, int height);

}  // namespace kinetra
