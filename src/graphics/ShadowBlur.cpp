#include "graphics/ShadowBlur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

namespace kinetra {

namespace {

// Rounded division of a box's sum by its width, by a multiplication: with m = ceil(2^32 / d),
// (n * m) >> 32 is n / d exactly for every n with n * d < 2^32, since the error n * (m * d -
// 2^32) / 2^32 is then below 1 while the remainder is at most d - 1. A box's rounded sum is at
// most 255.5 d, so that holds for widths below 4,096; wider boxes divide.
class BoxAverage {
 public:
  explicit BoxAverage(int radius)
      : width_(unsigned(2 * radius + 1)),
        reciprocal_(width_ < kMaxMultipliedWidth ? ((std::uint64_t{1} << 32) + width_ - 1) / width_
                                                 : 0) {}

  uint8_t operator()(unsigned sum) const {
    const unsigned rounded = sum + width_ / 2;
    if (reciprocal_ == 0) return uint8_t(rounded / width_);
    return uint8_t((std::uint64_t{rounded} * reciprocal_) >> 32);
  }

 private:
  static constexpr unsigned kMaxMultipliedWidth = 4096;
  unsigned width_;
  std::uint64_t reciprocal_;
};

bool isBlank(const uint8_t* row, size_t length) {
  return length == 0 || (row[0] == 0 && std::memcmp(row, row + 1, length - 1) == 0);
}

// One box pass along a row of `count` samples that are not all zero. Only the span from the
// first to the last non-zero sample, widened by the radius, can change; it is copied into
// `line` with `radius` zeros on either side, so that every box sums 2 * radius + 1 samples.
void boxRow(uint8_t* data, int count, int radius, const BoxAverage& average,
            std::vector<uint8_t>& line) {
  const auto inked = [](uint8_t sample) { return sample != 0; };
  const int first = int(std::find_if(data, data + count, inked) - data);
  const int last = int(std::find_if(std::make_reverse_iterator(data + count),
                                    std::make_reverse_iterator(data), inked)
                           .base() -
                       data) -
                   1;
  const int begin = std::max(first - radius, 0);
  const int end = std::min(last + radius + 1, count);
  const size_t span = size_t(end - begin);
  line.assign(span + 2 * size_t(radius), 0);
  std::copy_n(data + begin, span, line.begin() + radius);
  unsigned sum = 0;
  for (size_t i = 0; i < 2 * size_t(radius); ++i) sum += line[i];
  uint8_t* out = data + begin;
  for (size_t i = 0; i < span; ++i) {
    sum += line[i + 2 * size_t(radius)];
    out[i] = average(sum);
    sum -= line[i];
  }
}

// The same box pass down every column at once, a row at a time, so that memory is read in
// order. Each row is copied before it is overwritten, into a ring of radius + 1 rows: its slot is
// next needed by the row radius + 1 further down, at the step where it leaves the box and is
// subtracted just before that row is copied. (A mask of fewer rows gives each its own slot.) Rows
// marked blank hold only zeros: they add nothing to the sums, and a row whose whole box is blank
// stays zero without being written.
void boxColumns(uint8_t* data, int width, int height, size_t stride, int radius,
                const BoxAverage& average, const std::vector<bool>& blank,
                std::vector<uint8_t>& ring, std::vector<unsigned>& sums) {
  const size_t rowBytes = size_t(width);
  const size_t ringRows = std::min(size_t(radius) + 1, size_t(height));
  ring.resize(rowBytes * ringRows);
  sums.assign(rowBytes, 0);
  const auto row = [&](int y) { return data + size_t(y) * stride; };
  const auto saved = [&](int y) { return ring.data() + (size_t(y) % ringRows) * rowBytes; };
  int inkedInBox = 0;  // rows not blank among y - radius .. y + radius
  for (int y = 0; y < radius && y < height; ++y) {
    if (blank[size_t(y)]) continue;
    ++inkedInBox;
    for (size_t x = 0; x < rowBytes; ++x) sums[x] += row(y)[x];
  }
  for (int y = 0; y < height; ++y) {
    const int entering = y + radius;
    const int leaving = y - radius - 1;
    if (entering < height && !blank[size_t(entering)]) {
      ++inkedInBox;
      for (size_t x = 0; x < rowBytes; ++x) sums[x] += row(entering)[x];
    }
    if (leaving >= 0 && !blank[size_t(leaving)]) {
      --inkedInBox;
      for (size_t x = 0; x < rowBytes; ++x) sums[x] -= saved(leaving)[x];
    }
    if (inkedInBox == 0) continue;
    if (!blank[size_t(y)]) std::copy_n(row(y), rowBytes, saved(y));
    uint8_t* out = row(y);
    for (size_t x = 0; x < rowBytes; ++x) out[x] = average(sums[x]);
  }
}

}  // namespace

std::array<int, 3> shadowBoxRadii(double sigma) {
  if (!(sigma > 0)) return {0, 0, 0};
  // Three boxes of widths wl or wl + 2 (odd) whose variances add up to sigma².
  const double variance = sigma * sigma;
  int lower = int(std::floor(std::sqrt(12 * variance / 3 + 1)));
  if (lower % 2 == 0) --lower;
  const double smallerCount =
      (12 * variance - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4);
  const long lowerBoxes = std::lround(smallerCount);
  std::array<int, 3> radii{};
  for (int i = 0; i < 3; ++i) radii[size_t(i)] = ((i < lowerBoxes ? lower : lower + 2) - 1) / 2;
  return radii;
}

int shadowBlurReach(double sigma) {
  const std::array<int, 3> radii = shadowBoxRadii(sigma);
  return radii[0] + radii[1] + radii[2];
}

void blurShadowMask(uint8_t* data, int width, int height, size_t stride, double sigma) {
  std::vector<uint8_t> line;
  std::vector<uint8_t> ring;
  std::vector<unsigned> sums;
  std::vector<bool> blank(size_t(std::max(height, 0)));
  for (int radius : shadowBoxRadii(sigma)) {
    if (radius == 0) continue;
    const BoxAverage average(radius);
    for (int y = 0; y < height; ++y) {
      uint8_t* row = data + size_t(y) * stride;
      blank[size_t(y)] = isBlank(row, size_t(width));
      if (!blank[size_t(y)]) boxRow(row, width, radius, average, line);
    }
    boxColumns(data, width, height, stride, radius, average, blank, ring, sums);
  }
}

}  // namespace kinetra
