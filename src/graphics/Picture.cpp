#include "graphics/Picture.h"

#include <string>

namespace kinetra {

Result<Picture> Picture::create(int width, int height, std::vector<uint8_t> rgba) {
  if (width < 1 || height < 1) {
    return Status::InvalidArgument("picture size must be positive, got " + std::to_string(width) +
                                   "x" + std::to_string(height));
  }
  const size_t expected = size_t(width) * size_t(height) * 4;
  if (rgba.size() != expected) {
    return Status::InvalidArgument("picture of " + std::to_string(width) + "x" +
                                   std::to_string(height) + " needs " + std::to_string(expected) +
                                   " bytes, got " + std::to_string(rgba.size()));
  }
  return Picture(width, height, std::move(rgba));
}

Result<Picture> Picture::filled(int width, int height, Rgba colour) {
  if (width < 1 || height < 1) return Status::InvalidArgument("picture size must be positive");
  std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = colour.r;
    rgba[i + 1] = colour.g;
    rgba[i + 2] = colour.b;
    rgba[i + 3] = colour.a;
  }
  return Picture(width, height, std::move(rgba));
}

Rgba Picture::pixelAt(int x, int y) const {
  const size_t i = (size_t(y) * size_t(width_) + size_t(x)) * 4;
  return {rgba_[i], rgba_[i + 1], rgba_[i + 2], rgba_[i + 3]};
}

}  // namespace kinetra
