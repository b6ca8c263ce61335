#pragma once

#include <memory>
#include <optional>

#include "ui/IndexPath.h"
#include "ui/ScrollViewDelegate.h"
#include "ui/TableViewDataSource.h"

namespace kinetra {

class TableView;
class View;

// What a table tells its delegate and asks it about looks. Every operation has a default: the
// table's row height (44 unless set), headers only where there is a title or a header view,
// nothing done on selection. A table's delegate is also its scroll view delegate.
class TableViewDelegate : public ScrollViewDelegate {
 public:
  // The table's rowHeight() when not given.
  virtual std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) {
    return std::nullopt;
  }
  // When not given: the table's sectionHeaderHeight() for a section with a header title or
  // header view, 0 otherwise.
  virtual std::optional<double> heightForHeaderInSection(TableView&, int) { return std::nullopt; }
  // A header view of the delegate's making; the table owns it.
  virtual std::unique_ptr<View> viewForHeaderInSection(TableView&, int) { return nullptr; }
  virtual void didSelectRowAtIndexPath(TableView&, IndexPath) {}
  // tableView:accessoryButtonTappedForRowWithIndexPath: — the detail disclosure button.
  virtual void accessoryButtonTappedForRowWithIndexPath(TableView&, IndexPath) {}
  virtual TableViewCellEditingStyle editingStyleForRowAtIndexPath(TableView&, IndexPath) {
    return TableViewCellEditingStyle::kDelete;
  }
};

}  // namespace kinetra
