#pragma once

#include <memory>
#include <string>

#include "ui/TableView.h"
#include "ui/TableViewCell.h"

namespace kinetra {

// The cell of a row of today's log tables: reuse identifier "mine", the row text in the main
// line at `fontSize` points, no selection highlight, and the set's note in a second label in
// front of the content view (x 10, y 34, 320 × 14 unless told otherwise, 12 points, any number
// of lines). A reused
// cell keeps its note label and shows only the note of its new row.
class LogRowCell {
 public:
  static constexpr const char* kReuseIdentifier = "mine";
  static constexpr int kNoteLabelTag = 0x6e6f;
  static constexpr double kRowHeight = 50;

  static constexpr Rect kNoteFrame{10, 34, 320, 14};

  // `noteFrame`: where the note label stands in the content view.
  static std::unique_ptr<TableViewCell> make(TableView& table, std::string text, std::string note,
                                             double fontSize, Rect noteFrame = kNoteFrame);
};

}  // namespace kinetra
