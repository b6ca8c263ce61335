#include "logging/LogTableController.h"

#include "logging/DayRecords.h"
#include "logging/LogRowCell.h"
#include "model/LogEntry.h"
#include "model/Selection.h"

namespace kinetra {

std::string LogTableController::rowText(const PropertyList::Array& entry, std::size_t row) {
  const std::size_t first = row * kStringsPerSet;
  return "Set " + std::to_string(row + 1) + ", " + std::string(LogEntry::text(entry, first)) +
         " for " + std::string(LogEntry::text(entry, first + 1)) + " reps";
}

int LogTableController::numberOfRowsInSection(TableView&, int) { return today().numberOfSets(); }

std::unique_ptr<TableViewCell> LogTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                         IndexPath indexPath) {
  return DayRecords(userData_, selection_.today, selection_.selectedExercise, false)
      .cell(tableView, indexPath.row, LogRowCell::kNoteFrame);
}

void LogTableController::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                            IndexPath indexPath) {
  today().deleteSet(tableView, indexPath);
}

std::optional<double> LogTableController::heightForRowAtIndexPath(TableView&, IndexPath) {
  return LogRowCell::kRowHeight;
}

}  // namespace kinetra
