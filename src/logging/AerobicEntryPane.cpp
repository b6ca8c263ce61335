#include "logging/AerobicEntryPane.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "logging/EntryPaneViews.h"
#include "model/AerobicKind.h"
#include "model/LogEntry.h"
#include "model/Selection.h"
#include "model/UserData.h"

namespace kinetra {

namespace {

std::array<TextField*, 5> fieldsOf(EntryPaneViews& ui) {
  return {&ui.aerobicsField1, &ui.aerobicsField2, &ui.aerobicsField3, &ui.aerobicsField4,
          &ui.aerobicsField5};
}

}  // namespace

void AerobicEntryPane::prepare() {
  views_.aerobicsTableView.setEditing(false, Animated::No);
  views_.aerobicsTableView.reloadData();
  nameFields(state_.selection.selectedExercise);
  fillFields();
}

void AerobicEntryPane::nameFields(std::string_view exercise) {
  const AerobicKind* kind = AerobicKind::named(exercise);
  const auto fields = fieldsOf(views_);
  for (std::size_t i = 0; i < 4; ++i) {
    std::string_view label = kind != nullptr ? kind->valueLabels[i] : std::string_view();
    // A log row shows "(Duration)"; the field says "Duration".
    if (label.size() >= 2 && label.front() == '(' && label.back() == ')') {
      label = label.substr(1, label.size() - 2);
    }
    fields[i]->setPlaceholder(std::string(label));
  }
}

void AerobicEntryPane::fillFields() {
  const Selection& selection = state_.selection;
  fillFieldsFrom(selection.previousDates.empty()
                     ? nullptr
                     : LogEntry::find(state_.userData.aerobicsLog, selection.previousDates.back(),
                                      selection.selectedExercise));
}

void AerobicEntryPane::fillFieldsFrom(const PropertyList::Array* latest) {
  const auto fields = fieldsOf(views_);
  for (TextField* field : fields) field->setText({});
  if (latest == nullptr || latest->empty()) return;
  // The four values; the note is never offered again.
  for (std::size_t i = 0; i < 4; ++i) fields[i]->setText(std::string(LogEntry::text(*latest, i)));
}

void AerobicEntryPane::addSet() {
  EntryPaneViews& ui = views_;
  const auto fields = fieldsOf(ui);
  if (std::all_of(fields.begin(), fields.end(),
                  [](const TextField* field) { return field->text().empty(); })) {
    return;
  }
  std::vector<std::string> values;
  for (TextField* field : fields) {
    field->resignFirstResponder();
    values.push_back(field->text());
  }
  const Status added = LogEntry::append(state_.userData.aerobicsLog, state_.selection.today,
                                        state_.selection.selectedExercise, values);
  if (!added.ok()) {
    state_.log.line("Set not logged: " + added.message() +
                    "; it is kept as it is in Kinetra_Aerobics_Log.plist");
    return;
  }
  // A failed write is reported by the save itself; the next write of the log carries the set.
  static_cast<void>(state_.userData.saveAerobicsLog(std::span(&state_.selection.today, 1)));
  ui.aerobicsTableView.reloadData();
}

}  // namespace kinetra
