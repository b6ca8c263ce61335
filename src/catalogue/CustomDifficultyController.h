#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CustomExerciseChooser.h"

namespace kinetra {

// The editor's skill level chooser: "Beginner", "Intermediate" and "Advanced" with their
// pictures, then "none".
class CustomDifficultyController : public CustomExerciseChooser {
 public:
  CustomDifficultyController(CustomExerciseViews& views, CatalogueState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;

 protected:
  std::string valueAt(IndexPath indexPath) const override;
};

}  // namespace kinetra
