#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/CatalogueState.h"
#include "ui/TableViewController.h"

namespace kinetra {

struct CustomExerciseViews;

// The editor's region chooser: a row per region with its picture, then "none". Choosing a
// row gives its text to the editor and closes the chooser.
class CustomTargetController : public TableViewController {
 public:
  static constexpr double kRowHeight = 39;

  CustomTargetController(CustomExerciseViews& views, CatalogueState state);

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
