#pragma once

#include "catalogue/CatalogueState.h"

#include <memory>
#include <optional>
#include <string>

#include "ui/TableViewController.h"

namespace kinetra {

// The exercises of one muscle, as the body map left them: section 0 "Primary Target Exercises"
// lists `primaryMuscle`, section 1 "Secondary Target Exercises" lists `additionalMuscle`, both
// in their stored order. A row shows the record's name and thumbnail; selecting it opens the
// record.
//
// Keeps no state of its own: every call reads the state it was made with.
class MuscleTableController2 : public TableViewController {
 public:
  MuscleTableController2(std::string title, CatalogueState state);

  int numberOfSectionsInTableView(TableView&) override { return 2; }
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  CatalogueState state_;
};

}  // namespace kinetra
