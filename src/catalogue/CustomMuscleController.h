#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CustomExerciseChooser.h"

namespace kinetra {

// The editor's muscle chooser: a section per muscle group, headed by the group's title, a row
// per muscle in bold, then a section "none" with the one row "none".
class CustomMuscleController : public CustomExerciseChooser {
 public:
  CustomMuscleController(CustomExerciseViews& views, CatalogueState state);

  int numberOfSectionsInTableView(TableView& tableView) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;

 protected:
  std::string valueAt(IndexPath indexPath) const override;
};

}  // namespace kinetra
