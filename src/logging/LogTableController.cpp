#include "logging/LogTableController.h"

#include "logging/DayRecords.h"
#include "logging/LogRowCell.h"
#include "model/LogEntry.h"
#include "model/RecordBook.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "ui/ImageView.h"

namespace kinetra {

std::string LogTableController::rowText(const PropertyList::Array& entry, std::size_t row) {
  const std::size_t first = row * kStringsPerSet;
  return "Set " + std::to_string(row + 1) + ", " + std::string(LogEntry::text(entry, first)) +
         " for " + std::string(LogEntry::text(entry, first + 1)) + " reps";
}

int LogTableController::numberOfRowsInSection(TableView&, int) { return today().numberOfSets(); }

bool LogTableController::marksRecord(int row) const {
  if (row < 0) return false;
  const std::optional<PersonalRecords::Day> day = records_.dayOf(selection_.today);
  if (!day) return false;
  return records_.of(userData_.exerciseLog, selection_.selectedExercise)
      .beatsEarlierBest(*day, static_cast<std::size_t>(row));
}

std::unique_ptr<TableViewCell> LogTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                         IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell =
      DayRecords(userData_, selection_.today, selection_.selectedExercise, false)
          .cell(tableView, indexPath.row, LogRowCell::kNoteFrame);
  if (!marksRecord(indexPath.row)) {
    cell->setAccessoryView(static_cast<View*>(nullptr));
    return cell;
  }
  auto mark = std::make_unique<ImageView>(recordMark_);
  mark->setFrame({0, 0, kMarkSide, kMarkSide});
  cell->setAccessoryView(std::move(mark));
  return cell;
}

void LogTableController::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                            IndexPath indexPath) {
  // The exercise's records are gathered again, without the set, when next asked for.
  records_.forget(selection_.selectedExercise);
  today().deleteSet(tableView, indexPath);
}

std::optional<double> LogTableController::heightForRowAtIndexPath(TableView&, IndexPath) {
  return LogRowCell::kRowHeight;
}

}  // namespace kinetra
