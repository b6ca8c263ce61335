#include "logging/TodayLog.h"

#include "app/VelomarAppDelegate.h"
#include "model/LogEntry.h"
#include "ui/Application.h"
#include "ui/TableView.h"

namespace kinetra {

VelomarAppDelegate* TodayLog::sharedState() { return VelomarAppDelegate::shared(); }

PropertyList& TodayLog::log() const {
  return kind_ == Kind::kStrength ? state_.exerciseLog() : state_.aerobicsLog();
}

const PropertyList::Array* TodayLog::entry() const {
  return LogEntry::find(log(), state_.today(), state_.selectedExercise());
}

int TodayLog::numberOfSets() const {
  const PropertyList::Array* sets = entry();
  return sets == nullptr ? 0 : static_cast<int>(sets->size() / stringsPerSet());
}

void TodayLog::deleteSet(TableView& table, IndexPath indexPath) {
  PropertyList::Array* sets = LogEntry::find(log(), state_.today(), state_.selectedExercise());
  if (sets == nullptr || indexPath.row < 0 ||
      !LogEntry::removeGroup(*sets, static_cast<std::size_t>(indexPath.row), stringsPerSet())) {
    table.reloadData();
    return;
  }
  // A failed write is reported by the save itself; the next write of this log carries it.
  if (kind_ == Kind::kStrength) {
    static_cast<void>(state_.saveExerciseLog());
  } else {
    static_cast<void>(state_.saveAerobicsLog());
  }
  table.beginUpdates();
  table.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kTop);
  table.endUpdates();
  table.reloadData();
}

}  // namespace kinetra
