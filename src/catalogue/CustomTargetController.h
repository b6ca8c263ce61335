#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CustomExerciseChooser.h"

namespace kinetra {

// The editor's region chooser: a row per region with its picture, then "none".
class CustomTargetController : public CustomExerciseChooser {
 public:
  CustomTargetController(CustomExerciseViews& views, CatalogueState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;

 protected:
  std::string valueAt(IndexPath indexPath) const override;
};

}  // namespace kinetra
