#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CatalogueState.h"
#include "ui/TableViewController.h"

namespace kinetra {

struct CustomExerciseViews;

// The editor's skill level chooser: "Beginner", "Intermediate" and "Advanced" with their
// pictures, then "none". Choosing a row gives its text to the editor and closes the chooser.
class CustomDifficultyController : public TableViewController {
 public:
  static constexpr double kRowHeight = 39;

  CustomDifficultyController(CustomExerciseViews& views, CatalogueState state);

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
