#pragma once

#include "catalogue/CatalogueState.h"

#include <memory>
#include <optional>
#include <string>

#include "ui/TableViewController.h"

namespace kinetra {

// The regions menu, root of the catalogue tab. Section 0: one row per region of `targets`
// (bold, with the region's picture), then "exercises by muscle" and "complete list of
// exercises" (italic); section 1: "Add/Edit Custom Exercises". Every row has a detail
// disclosure button, whose tap selects the row and then does what selecting it does.
//
// Row heights go by the row index alone, whatever the section: 36 for the indices of the two
// italic rows (n and n + 1, with n regions), else 40 for index 4, else 33.
//
// Keeps no state of its own: every call reads the state it was made with.
class TargetTableController : public TableViewController {
 public:
  TargetTableController(std::string title, CatalogueState state);

  int numberOfSectionsInTableView(TableView&) override { return 2; }
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  CatalogueState state_;
};

}  // namespace kinetra
