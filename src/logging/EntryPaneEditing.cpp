#include "logging/EntryPaneEditing.h"

#include <vector>

#include "app/VelomarAppDelegate.h"
#include "model/ExerciseRecord.h"

namespace kinetra {

void EntryPaneEditing::toggle() {
  MainInterface& ui = state_.interface();
  const bool aerobic = isAerobicExercise(state_.selectedExercise());
  TableView& table = aerobic ? ui.aerobicsTableView : ui.logTableView;
  if (!state_.logEditing()) {
    ui.logEditButton.setTitle("Done");
    ui.velomarNavigationTitle.setLeftBarButtonItem(nullptr);
    table.setEditing(true, Animated::Yes);
  } else {
    ui.logEditButton.setTitle("Edit");
    ui.velomarNavigationTitle.setLeftBarButtonItem(&ui.logDoneButton);
    table.setEditing(false, Animated::Yes);
  }
  const std::vector<TextField*> fields =
      aerobic ? std::vector<TextField*>{&ui.aerobicsField1, &ui.aerobicsField2, &ui.aerobicsField3,
                                        &ui.aerobicsField4, &ui.aerobicsField5}
              : std::vector<TextField*>{&ui.weight, &ui.weightDecimal, &ui.reps, &ui.note};
  for (TextField* field : fields) field->resignFirstResponder();
  state_.setLogEditing(!state_.logEditing());
}

}  // namespace kinetra
