#include "logging/AerobicsTableController.h"

#include "logging/DayRecords.h"
#include "logging/LogRowCell.h"
#include "model/AerobicKind.h"
#include "model/LogEntry.h"
#include "model/Selection.h"

namespace kinetra {

std::string AerobicsTableController::rowText(std::string_view exercise,
                                             const PropertyList::Array& entry, std::size_t row) {
  std::string text = "Set " + std::to_string(row + 1);
  const AerobicKind* kind = AerobicKind::named(exercise);
  if (kind == nullptr) return text;
  const std::size_t first = row * kStringsPerSet;
  for (std::size_t i = 0; i < kind->valueLabels.size(); ++i) {
    const std::string_view value = LogEntry::text(entry, first + i);
    if (value.empty()) continue;
    text += ", ";
    text += value;
    text += kind->valueLabels[i];
  }
  return text;
}

int AerobicsTableController::numberOfRowsInSection(TableView&, int) {
  return today().numberOfSets();
}

std::unique_ptr<TableViewCell> AerobicsTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                              IndexPath indexPath) {
  return DayRecords(userData_, selection_.today, selection_.selectedExercise, true)
      .cell(tableView, indexPath.row, LogRowCell::kNoteFrame);
}

void AerobicsTableController::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                                 IndexPath indexPath) {
  today().deleteSet(tableView, indexPath);
}

std::optional<double> AerobicsTableController::heightForRowAtIndexPath(TableView&, IndexPath) {
  return LogRowCell::kRowHeight;
}

}  // namespace kinetra
