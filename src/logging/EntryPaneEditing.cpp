#include "logging/EntryPaneEditing.h"

#include <vector>

#include "logging/EntryPaneViews.h"
#include "model/EditingFlags.h"
#include "model/ExerciseRecord.h"
#include "model/Selection.h"
#include "ui/NavigationItem.h"

namespace kinetra {

void EntryPaneEditing::toggle() {
  EntryPaneViews& ui = views_;
  const bool aerobic = isAerobicExercise(state_.selection.selectedExercise);
  TableView& table = aerobic ? ui.aerobicsTableView : ui.logTableView;
  if (!state_.flags.logEditing) {
    ui.logEditButton.setTitle("Done");
    bar_.setLeftBarButtonItem(nullptr);
    table.setEditing(true, Animated::Yes);
  } else {
    ui.logEditButton.setTitle("Edit");
    bar_.setLeftBarButtonItem(&ui.logDoneButton);
    table.setEditing(false, Animated::Yes);
  }
  const std::vector<TextField*> fields =
      aerobic ? std::vector<TextField*>{&ui.aerobicsField1, &ui.aerobicsField2, &ui.aerobicsField3,
                                        &ui.aerobicsField4, &ui.aerobicsField5}
              : std::vector<TextField*>{&ui.weight, &ui.weightDecimal, &ui.reps, &ui.note};
  for (TextField* field : fields) field->resignFirstResponder();
  state_.flags.logEditing = !state_.flags.logEditing;
}

}  // namespace kinetra
