#pragma once

#include "graphics/Geometry.h"

namespace kinetra {

// The toolkit's geometry, in points, origin at the top left, y growing downwards. Point and Rect
// are the drawing layer's; Size and AffineTransform are the toolkit's own.

struct Size {
  double width = 0;
  double height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

// A 2-D affine transform: x' = a·x + c·y + tx, y' = b·x + d·y + ty. The toolkit uses it for a
// view's rotation about its centre.
struct AffineTransform {
  double a = 1;
  double b = 0;
  double c = 0;
  double d = 1;
  double tx = 0;
  double ty = 0;

  static AffineTransform identity() { return {}; }
  // A rotation by `radians`; positive turns clockwise on the screen (y grows downwards).
  static AffineTransform makeRotation(double radians);

  bool isIdentity() const { return *this == AffineTransform{}; }
  Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
  // The inverse; the identity when the transform is not invertible.
  AffineTransform inverted() const;

  friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

inline bool pointsEqual(Point p, Point q) { return p.x == q.x && p.y == q.y; }
inline bool rectsEqual(const Rect& r, const Rect& s) {
  return r.x == s.x && r.y == s.y && r.width == s.width && r.height == s.height;
}

inline double rectGetMinX(const Rect& r) { return r.x; }
inline double rectGetMinY(const Rect& r) { return r.y; }
inline double rectGetMaxX(const Rect& r) { return r.x + r.width; }
inline double rectGetMaxY(const Rect& r) { return r.y + r.height; }
inline double rectGetMidX(const Rect& r) { return r.x + r.width / 2; }
inline double rectGetMidY(const Rect& r) { return r.y + r.height / 2; }

// The left and top edges are inside, the right and bottom edges outside; an empty rectangle
// contains nothing.
bool rectContainsPoint(const Rect& r, Point p);
// True when the two rectangles share some area (touching edges do not count).
bool rectIntersectsRect(const Rect& r, const Rect& s);

}  // namespace kinetra
