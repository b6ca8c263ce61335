#pragma once

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
// Stateless: every call reads the shared state.
class MuscleTableController2 : public TableViewController {
 public:
  explicit MuscleTableController2(std::string title);

  int numberOfSectionsInTableView(TableView&) override { return 2; }
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
};

}  // namespace kinetra
