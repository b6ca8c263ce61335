#include "ui/Geometry.h"

#include <cmath>

namespace kinetra {

AffineTransform AffineTransform::makeRotation(double radians) {
  const double cosine = std::cos(radians);
  const double sine = std::sin(radians);
  return {cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::inverted() const {
  const double determinant = a * d - b * c;
  if (determinant == 0 || !std::isfinite(determinant)) return {};
  AffineTransform inverse;
  inverse.a = d / determinant;
  inverse.b = -b / determinant;
  inverse.c = -c / determinant;
  inverse.d = a / determinant;
  inverse.tx = -(inverse.a * tx + inverse.c * ty);
  inverse.ty = -(inverse.b * tx + inverse.d * ty);
  return inverse;
}

bool rectContainsPoint(const Rect& r, Point p) {
  return r.width > 0 && r.height > 0 && p.x >= r.x && p.x < r.x + r.width && p.y >= r.y &&
         p.y < r.y + r.height;
}

bool rectIntersectsRect(const Rect& r, const Rect& s) {
  return r.width > 0 && r.height > 0 && s.width > 0 && s.height > 0 && r.x < s.x + s.width &&
         s.x < r.x + r.width && r.y < s.y + s.height && s.y < r.y + r.height;
}

}  // namespace kinetra
