#pragma once

namespace kinetra {

// Points and rectangles of a drawing context, in points: origin at the top left, y growing
// downwards.
struct Point {
  double x = 0;
  double y = 0;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

}  // namespace kinetra
