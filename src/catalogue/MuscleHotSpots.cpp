#include "catalogue/MuscleHotSpots.h"

#include <array>

namespace kinetra {

namespace {

// How far above its spot's top edge the label's centre stands.
constexpr double kLabelRise = 18;

constexpr std::array<MuscleHotSpot, 19> kSpots{{
    {"Deltoids", 0, {126, 62, 25, 25}, 0},          {"Pectoralis", 4, {70, 71, 25, 25}, 10},
    {"Brachialis", 0, {138, 104, 25, 25}, 0},       {"Biceps Brachii", 6, {43, 98, 25, 25}, 37},
    {"Rectus Abdominis", 8, {93, 112, 25, 25}, 0},  {"Obliques", 4, {61, 125, 25, 25}, 19},
    {"Wrist Flexors", 5, {22, 154, 25, 25}, 59},    {"Quadriceps", 2, {64, 195, 25, 25}, 16},
    {"Trapezius", 2, {225, 61, 25, 25}, 0},         {"Rotator Cuff", 3, {190, 71, 25, 25}, 0},
    {"Infraspinatus", 3, {238, 84, 25, 25}, 0},     {"Triceps Brachii", 4, {256, 100, 25, 25}, -22},
    {"Latissimus Dorsi", 8, {196, 104, 25, 25}, 0}, {"Lower Back", 3, {216, 113, 25, 25}, 0},
    {"Glutes", 2, {196, 158, 22, 25}, 0},           {"Wrist Extensors", 5, {273, 167, 25, 25}, -35},
    {"Hamstrings", 2, {236, 200, 25, 25}, 0},       {"Soleus", 2, {265, 260, 25, 25}, -27},
    {"Gastrocnemius", 5, {205, 265, 25, 25}, 0},
}};

}  // namespace

std::string MuscleHotSpot::title() const {
  std::string text(muscle);
  text.append(static_cast<std::size_t>(trailingBlanks), ' ');
  return text;
}

Point MuscleHotSpot::labelCentre() const { return {spot.x + labelShift, spot.y - kLabelRise}; }

bool MuscleHotSpot::contains(Point point) const {
  return spot.x <= point.x && point.x < spot.x + spot.width && spot.y <= point.y &&
         point.y < spot.y + spot.height;
}

std::span<const MuscleHotSpot> MuscleHotSpots::all() { return kSpots; }

const MuscleHotSpot* MuscleHotSpots::at(Point point) {
  for (const MuscleHotSpot& spot : kSpots) {
    if (spot.contains(point)) return &spot;
  }
  return nullptr;
}

}  // namespace kinetra
