#pragma once

#include <compare>

namespace kinetra {

// A row of a table: its section and its row within the section, both from 0.
struct IndexPath {
  int section = 0;
  int row = 0;

  static IndexPath indexPathForRow(int row, int section) { return {section, row}; }

  friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

}  // namespace kinetra
