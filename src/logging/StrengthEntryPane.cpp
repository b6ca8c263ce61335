#include "logging/StrengthEntryPane.h"

#include <span>
#include <string>

#include "foundation/DiagnosticLog.h"
#include "logging/EntryPaneViews.h"
#include "model/EditingFlags.h"
#include "model/LogEntry.h"
#include "model/RecordBook.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "model/WeightText.h"

namespace kinetra {

namespace {

constexpr int kKilogramSegment = 1;

// The entry of the selected exercise on its latest logged day; null when it has none.
const PropertyList::Array* latestEntry(const LoggingState& state) {
  const Selection& selection = state.selection;
  if (selection.previousDates.empty()) return nullptr;
  return LogEntry::find(state.userData.exerciseLog, selection.previousDates.back(),
                        selection.selectedExercise);
}

}  // namespace

void StrengthEntryPane::prepare() {
  EntryPaneViews& ui = views_;
  ui.logTableView.setEditing(false, Animated::No);
  ui.logTableView.reloadData();
  ui.logEditButton.setTitle("Edit");
  state_.flags.logEditing = false;
  fillFields();
}

void StrengthEntryPane::fillFields() { fillFieldsFrom(latestEntry(state_)); }

void StrengthEntryPane::fillFieldsFrom(const PropertyList::Array* latest) {
  EntryPaneViews& ui = views_;
  ui.weight.setText({});
  ui.weightDecimal.setText("0");
  ui.reps.setText({});
  ui.note.setText({});
  ui.weightType.setSelectedSegmentIndex(0);
  if (latest == nullptr || latest->empty()) return;

  const WeightText::Fields fields = WeightText::split(LogEntry::text(*latest, 0));
  if (fields.kilograms) ui.weightType.setSelectedSegmentIndex(kKilogramSegment);
  ui.weight.setText(fields.whole);
  if (fields.decimal) ui.weightDecimal.setText(*fields.decimal);
  ui.reps.setText(std::string(LogEntry::text(*latest, 1)));
}

bool StrengthEntryPane::addSet() {
  EntryPaneViews& ui = views_;
  Selection& selection = state_.selection;
  if (ui.weight.text().empty()) ui.weight.setText("0");
  if (ui.reps.text().empty()) ui.reps.setText("0");
  for (TextField* field : {&ui.weight, &ui.weightDecimal, &ui.reps, &ui.note}) {
    field->resignFirstResponder();
  }
  const std::string unit =
      ui.weightType.titleForSegmentAtIndex(ui.weightType.selectedSegmentIndex());
  selection.fixedWeight = WeightText::compose(ui.weight.text(), ui.weightDecimal.text(), unit);
  const Status added =
      LogEntry::append(state_.userData.exerciseLog, selection.today, selection.selectedExercise,
                       {selection.fixedWeight, ui.reps.text(), ui.note.text()});
  if (!added.ok()) {
    state_.log.line("Set not logged: " + added.message() +
                    "; it is kept as it is in Kinetra_Log.plist");
    return false;
  }
  state_.records.setAppended(state_.userData.exerciseLog, selection.today,
                             selection.selectedExercise);
  // A failed write is reported by the save itself; the next write of the log carries the set.
  static_cast<void>(state_.userData.saveExerciseLog(std::span(&selection.today, 1)));
  ui.logTableView.reloadData();
  return true;
}

}  // namespace kinetra
