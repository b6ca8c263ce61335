#include "graphics/ShadowBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kinetra {

namespace {

// One box pass along a line of `count` samples `step` bytes apart; `line` is scratch.
void boxLine(uint8_t* data, int count, size_t step, int radius, std::vector<uint8_t>& line) {
  line.resize(size_t(count));
  for (int i = 0; i < count; ++i) line[size_t(i)] = data[size_t(i) * step];
  const unsigned width = unsigned(2 * radius + 1);
  unsigned sum = 0;
  for (int i = 0; i < radius && i < count; ++i) sum += line[size_t(i)];
  for (int i = 0; i < count; ++i) {
    const int entering = i + radius;
    const int leaving = i - radius - 1;
    if (entering < count) sum += line[size_t(entering)];
    if (leaving >= 0) sum -= line[size_t(leaving)];
    data[size_t(i) * step] = uint8_t((sum + width / 2) / width);
  }
}

// The same box pass down every column at once, a row at a time, so that memory is read in order
// rather than a stride apart; `rows` and `sums` are scratch.
void boxColumns(uint8_t* data, int width, int height, size_t stride, int radius,
                std::vector<uint8_t>& rows, std::vector<unsigned>& sums) {
  const size_t rowBytes = size_t(width);
  rows.resize(rowBytes * size_t(height));
  for (int y = 0; y < height; ++y) {
    std::copy_n(data + size_t(y) * stride, rowBytes, rows.data() + size_t(y) * rowBytes);
  }
  sums.assign(rowBytes, 0);
  const auto row = [&](int y) { return rows.data() + size_t(y) * rowBytes; };
  const auto addRow = [&](int y) {
    for (size_t x = 0; x < rowBytes; ++x) sums[x] += row(y)[x];
  };
  const auto subtractRow = [&](int y) {
    for (size_t x = 0; x < rowBytes; ++x) sums[x] -= row(y)[x];
  };
  const unsigned boxWidth = unsigned(2 * radius + 1);
  for (int y = 0; y < radius && y < height; ++y) addRow(y);
  for (int y = 0; y < height; ++y) {
    if (y + radius < height) addRow(y + radius);
    if (y - radius - 1 >= 0) subtractRow(y - radius - 1);
    uint8_t* out = data + size_t(y) * stride;
    for (size_t x = 0; x < rowBytes; ++x) out[x] = uint8_t((sums[x] + boxWidth / 2) / boxWidth);
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
  std::vector<uint8_t> rows;
  std::vector<unsigned> sums;
  for (int radius : shadowBoxRadii(sigma)) {
    if (radius == 0) continue;
    for (int y = 0; y < height; ++y) boxLine(data + size_t(y) * stride, width, 1, radius, line);
    boxColumns(data, width, height, stride, radius, rows, sums);
  }
}

}  // namespace kinetra
