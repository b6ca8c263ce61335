#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/Status.h"

namespace kinetra {

// One pixel: 8-bit red, green, blue and straight (not premultiplied) alpha.
struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;

  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A decoded picture: width × height pixels, stored row by row from the top, 4 bytes per pixel
// in the order R, G, B, A with straight alpha. A value type; copies are deep. The default
// picture is empty (0 × 0).
class Picture {
 public:
  Picture() = default;

  // Takes the pixels; fails with InvalidArgument unless width and height are positive and
  // rgba holds exactly width × height × 4 bytes.
  static Result<Picture> create(int width, int height, std::vector<uint8_t> rgba);

  // A picture of the given size filled with one colour; InvalidArgument for a size < 1.
  static Result<Picture> filled(int width, int height, Rgba colour);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0; }

  // All pixels, row by row, RGBA.
  const std::vector<uint8_t>& rgba() const { return rgba_; }

  // Precondition: 0 <= x < width(), 0 <= y < height().
  Rgba pixelAt(int x, int y) const;

 private:
  Picture(int width, int height, std::vector<uint8_t> rgba)
      : width_(width), height_(height), rgba_(std::move(rgba)) {}

  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> rgba_;
};

}  // namespace kinetra
