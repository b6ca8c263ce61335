#pragma once

#include <array>
#include <span>
#include <string_view>

namespace kinetra {

// One of the nine aerobic exercises of the catalogue, known by its name alone (each begins
// with one blank): the labels of its four measured values as a log row shows them, and the
// bundle picture (type "png") of its entry pane.
struct AerobicKind {
  std::string_view name;
  std::array<std::string_view, 4> valueLabels;
  std::string_view logPicture;

  // The kind of an exercise name; null for every other name (strength exercises).
  static const AerobicKind* named(std::string_view exercise);
  // All nine, in the catalogue's order.
  static std::span<const AerobicKind> all();
};

}  // namespace kinetra
