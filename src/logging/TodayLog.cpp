#include "logging/TodayLog.h"

#include <span>
#include <string>

#include "model/LogEntry.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "ui/TableView.h"

namespace kinetra {

PropertyList& TodayLog::log() const {
  return kind_ == Kind::kStrength ? userData_.exerciseLog : userData_.aerobicsLog;
}

const PropertyList::Array* TodayLog::entry() const {
  return LogEntry::find(log(), selection_.today, selection_.selectedExercise);
}

int TodayLog::numberOfSets() const {
  const PropertyList::Array* sets = entry();
  return sets == nullptr ? 0 : static_cast<int>(sets->size() / stringsPerSet());
}

void TodayLog::deleteSet(TableView& table, IndexPath indexPath) {
  PropertyList::Array* sets = LogEntry::find(log(), selection_.today, selection_.selectedExercise);
  if (sets == nullptr || indexPath.row < 0 ||
      !LogEntry::removeGroup(*sets, static_cast<std::size_t>(indexPath.row), stringsPerSet())) {
    table.reloadData();
    return;
  }
  // A failed write is reported by the save itself; the next write of this log carries it.
  const std::span<const std::string> day(&selection_.today, 1);
  if (kind_ == Kind::kStrength) {
    static_cast<void>(userData_.saveExerciseLog(day));
  } else {
    static_cast<void>(userData_.saveAerobicsLog(day));
  }
  table.beginUpdates();
  table.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kTop);
  table.endUpdates();
  table.reloadData();
}

}  // namespace kinetra
