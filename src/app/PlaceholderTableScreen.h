#pragma once

#include <string>

#include "ui/TableViewController.h"

namespace kinetra {

// A table screen with no rows: stands in the interface for a screen whose own class has not
// been written yet, so that the navigation stacks, titles and bar items around it exist.
// FIXME: each placeholder gives way to its screen's class as that screen is built.
class PlaceholderTableScreen : public TableViewController {
 public:
  explicit PlaceholderTableScreen(std::string title, TableViewStyle style = TableViewStyle::kPlain);

  int numberOfRowsInSection(TableView&, int) override { return 0; }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, IndexPath) override {
    return nullptr;
  }
};

}  // namespace kinetra
