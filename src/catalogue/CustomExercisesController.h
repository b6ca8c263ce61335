#pragma once

#include <memory>

#include "catalogue/CatalogueState.h"
#include "ui/TableViewController.h"

namespace kinetra {

struct CustomExerciseViews;

// The list of the user's own exercises, in stored order, each row with its name and thumbnail.
// Selecting a row opens the editor on it (the row stays selected: saving reads it); the delete
// control, in editing mode or by a swipe, deletes it.
class CustomExercisesController : public TableViewController {
 public:
  CustomExercisesController(CustomExerciseViews& views, CatalogueState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;
  bool implementsCommitEditingStyle() const override { return true; }

 private:
  CustomExerciseViews& views_;
  CatalogueState state_;
};

}  // namespace kinetra
