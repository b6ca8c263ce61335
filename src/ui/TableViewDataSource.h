#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/IndexPath.h"
#include "ui/Trackable.h"

namespace kinetra {

class TableView;
class TableViewCell;

enum class TableViewCellEditingStyle { kNone, kDelete, kInsert };

// What a table asks about its rows. Only the number of rows and the cells must be given; every
// other operation has the device's default: one section, no header titles, no index, rows
// that can be deleted but not moved.
//
// Tables keep their data source weakly and ask it afresh at every reload, so a data source can
// keep no state of its own.
class TableViewDataSource : public virtual Trackable {
 public:
  virtual ~TableViewDataSource() = default;

  virtual int numberOfSectionsInTableView(TableView&) { return 1; }
  virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
  // The cell for an on-screen row: typically tableView.dequeueReusableCellWithIdentifier, else
  // a new cell. Returning null yields an empty cell.
  virtual std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                               IndexPath indexPath) = 0;
  virtual std::optional<std::string> titleForHeaderInSection(TableView&, int) {
    return std::nullopt;
  }
  // The titles of the index along the right edge; none by default.
  virtual std::vector<std::string> sectionIndexTitlesForTableView(TableView&) { return {}; }
  // tableView:sectionForSectionIndexTitle:atIndex: — by default the section at that index.
  virtual int sectionForSectionIndexTitle(TableView&, const std::string&, int index) {
    return index;
  }
  virtual bool canEditRowAtIndexPath(TableView&, IndexPath) { return true; }
  // tableView:commitEditingStyle:forRowAtIndexPath: — the finger deleted (or inserted) a row.
  virtual void commitEditingStyle(TableView&, TableViewCellEditingStyle, IndexPath) {}
  // Whether this data source commits deletions. The device offers swipe-to-delete outside
  // editing mode only to data sources that implement commitEditingStyle; a data source that
  // overrides it answers true here.
  virtual bool implementsCommitEditingStyle() const { return false; }
  virtual bool canMoveRowAtIndexPath(TableView&, IndexPath) { return false; }
  // tableView:moveRowAtIndexPath:toIndexPath: — the finger moved a row; the table has already
  // moved its cell.
  virtual void moveRowAtIndexPath(TableView&, IndexPath, IndexPath) {}
};

}  // namespace kinetra
