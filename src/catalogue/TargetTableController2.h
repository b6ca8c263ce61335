#pragma once

#include "catalogue/CatalogueState.h"

#include <memory>
#include <string>

#include "ui/TableViewController.h"

namespace kinetra {

// The exercises of one region (`targetExercises`), one row per record, the rows ordered by the
// records' names compared case-insensitively (not by the locale). A row shows the name and the
// thumbnail of the record of that name; when several records share a name, the last of them in
// `targetExercises` gives the thumbnail, and selecting any of their rows opens it.
//
// Keeps no state of its own: every call reads the state it was made with.
class TargetTableController2 : public TableViewController {
 public:
  TargetTableController2(std::string title, CatalogueState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  CatalogueState state_;
};

}  // namespace kinetra
