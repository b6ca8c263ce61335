#pragma once

#include "catalogue/CatalogueState.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/TableViewController.h"

namespace kinetra {

// The complete list of exercises: one section per key of the name index
// (`exerciseNameIndexArray`, in its order), the records under each key in their stored order.
// Section 0 (the aerobic exercises, whose names begin with a blank) is headed "cardio", every
// other section by its key; the index along the edge shows the keys unchanged. A row shows the
// record's name and thumbnail; selecting it opens the record.
//
// Keeps no state of its own: every call reads the state it was made with.
class FullListTableController : public TableViewController {
 public:
  FullListTableController(std::string title, CatalogueState state);

  int numberOfSectionsInTableView(TableView& tableView) override;
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  std::vector<std::string> sectionIndexTitlesForTableView(TableView& tableView) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  CatalogueState state_;
};

}  // namespace kinetra
