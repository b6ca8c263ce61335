#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CatalogueState.h"
#include "ui/TableViewController.h"

namespace kinetra {

struct CustomExerciseViews;

// The editor's muscle chooser: a section per muscle group, headed by the group's title, a row
// per muscle, then a section "none" with the one row "none". Choosing a row gives its text to
// the editor and closes the chooser.
class CustomMuscleController : public TableViewController {
 public:
  static constexpr double kRowHeight = 39;

  CustomMuscleController(CustomExerciseViews& views, CatalogueState state);

  int numberOfSectionsInTableView(TableView& tableView) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    return kRowHeight;
  }
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  CustomExerciseViews& views_;
  CatalogueState state_;
};

}  // namespace kinetra
