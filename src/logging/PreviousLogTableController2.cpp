#include "logging/PreviousLogTableController2.h"

#include "logging/DayRecords.h"
#include "logging/LogRowCell.h"
#include "model/ExerciseRecord.h"
#include "model/Selection.h"

namespace kinetra {

namespace {

DayRecords recordsShown(const HistoryState& state) {
  const Selection& selection = state.selection;
  return DayRecords(state.userData, selection.selectedDate.value_or(""), selection.selectedExercise,
                    isAerobicExercise(selection.selectedExercise));
}

}  // namespace

int PreviousLogTableController2::numberOfRowsInSection(TableView&, int) {
  return recordsShown(state_).numberOfSets();
}

std::unique_ptr<TableViewCell> PreviousLogTableController2::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  return recordsShown(state_).cell(tableView, indexPath.row, LogRowCell::kNoteFrame);
}

}  // namespace kinetra
