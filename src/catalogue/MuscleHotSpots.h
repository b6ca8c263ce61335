#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ui/Geometry.h"

namespace kinetra {

// One place of the body picture that names a muscle: the muscle as the records name it, the
// number of blanks its label's title carries after the name, the touchable rectangle in the
// body view's points (y down), and how far the label's centre moves right of the rectangle's
// left edge.
struct MuscleHotSpot {
  std::string_view muscle;
  int trailingBlanks;
  Rect spot;
  double labelShift;

  // The label's title: the muscle followed by its blanks.
  std::string title() const;
  // Where the label's centre goes: above the spot, shifted sideways.
  Point labelCentre() const;
  // Left and top edges inside, right and bottom edges outside.
  bool contains(Point point) const;
};

// The nineteen hot spots of the body picture, front view (the first eight) then back view. They
// overlap in three places; the earlier spot wins there.
class MuscleHotSpots {
 public:
  MuscleHotSpots() = delete;

  static std::span<const MuscleHotSpot> all();
  // The first spot containing `point`; null when none does.
  static const MuscleHotSpot* at(Point point);
};

}  // namespace kinetra
