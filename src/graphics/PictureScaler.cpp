#include "graphics/PictureScaler.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "graphics/PictureHeader.h"

namespace kinetra {

namespace {

// The source samples one output sample reads, and their weights (summing to 1).
struct Contribution {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Contribution> contributions(int inSize, int outSize) {
  const double scale = double(inSize) / outSize;
  const double spread = std::max(scale, 1.0);  // filter widened when shrinking
  std::vector<Contribution> result(static_cast<size_t>(outSize));
  for (int o = 0; o < outSize; ++o) {
    const double centre = (o + 0.5) * scale;
    const int first = std::max(0, int(std::floor(centre - spread)));
    const int last = std::min(inSize, int(std::ceil(centre + spread)));
    Contribution& c = result[size_t(o)];
    c.first = first;
    double total = 0;
    for (int i = first; i < last; ++i) {
      const double w = std::max(0.0, 1.0 - std::abs((i + 0.5 - centre) / spread));
      c.weights.push_back(float(w));
      total += w;
    }
    if (total <= 0) {  // cannot happen for a triangle of width >= 1; keep the nearest sample
      c.first = std::clamp(int(centre), 0, inSize - 1);
      c.weights.assign(1, 1.0f);
      continue;
    }
    for (float& w : c.weights) w = float(w / total);
  }
  return result;
}

// One source row, premultiplied, resampled horizontally: outWidth × 4 floats.
std::vector<float> horizontalRow(const Picture& picture, int y,
                                 const std::vector<Contribution>& columns) {
  const uint8_t* row = picture.rgba().data() + size_t(y) * size_t(picture.width()) * 4;
  std::vector<float> out(columns.size() * 4, 0.0f);
  for (size_t o = 0; o < columns.size(); ++o) {
    const Contribution& c = columns[o];
    float sum[4] = {0, 0, 0, 0};
    for (size_t k = 0; k < c.weights.size(); ++k) {
      const uint8_t* p = row + (size_t(c.first) + k) * 4;
      const float alphaWeight = c.weights[k] * p[3] / 255.0f;
      sum[0] += alphaWeight * p[0];
      sum[1] += alphaWeight * p[1];
      sum[2] += alphaWeight * p[2];
      sum[3] += c.weights[k] * p[3];
    }
    std::copy(sum, sum + 4, out.begin() + std::ptrdiff_t(o * 4));
  }
  return out;
}

uint8_t toByte(float value) { return uint8_t(std::clamp(std::lround(value), 0L, 255L)); }

void storeUnpremultiplied(const std::vector<float>& premultiplied, uint8_t* out) {
  for (size_t i = 0; i < premultiplied.size(); i += 4) {
    const float alpha = premultiplied[i + 3];
    const uint8_t a = toByte(alpha);
    if (a == 0) {
      std::fill(out + i, out + i + 4, uint8_t(0));
      continue;
    }
    for (size_t ch = 0; ch < 3; ++ch) out[i + ch] = toByte(premultiplied[i + ch] * 255.0f / alpha);
    out[i + 3] = a;
  }
}

}  // namespace

Result<Picture> scalePicture(const Picture& picture, int width, int height) {
  if (picture.empty()) return Status::InvalidArgument("cannot scale an empty picture");
  if (width < 1 || height < 1) return Status::InvalidArgument("scaled size must be positive");
  Status limits = checkPictureSize(width, height);
  if (!limits.ok()) return limits;

  const std::vector<Contribution> columns = contributions(picture.width(), width);
  const std::vector<Contribution> rows = contributions(picture.height(), height);
  std::vector<uint8_t> out(size_t(width) * size_t(height) * 4);

  // Horizontally resampled source rows, kept only while an output row still needs them.
  std::deque<std::vector<float>> window;
  int windowFirst = 0;
  std::vector<float> sum(size_t(width) * 4);
  for (int y = 0; y < height; ++y) {
    const Contribution& c = rows[size_t(y)];
    while (!window.empty() && windowFirst < c.first) {
      window.pop_front();
      ++windowFirst;
    }
    if (window.empty()) windowFirst = c.first;
    const int needed = c.first + int(c.weights.size());
    while (windowFirst + int(window.size()) < needed) {
      window.push_back(horizontalRow(picture, windowFirst + int(window.size()), columns));
    }
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (size_t k = 0; k < c.weights.size(); ++k) {
      const std::vector<float>& source = window[size_t(c.first - windowFirst) + k];
      for (size_t i = 0; i < sum.size(); ++i) sum[i] += c.weights[k] * source[i];
    }
    storeUnpremultiplied(sum, out.data() + size_t(y) * size_t(width) * 4);
  }
  return Picture::create(width, height, std::move(out));
}

}  // namespace kinetra
