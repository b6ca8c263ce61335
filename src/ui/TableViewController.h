#pragma once

#include <memory>

#include "ui/TableView.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"
#include "ui/ViewController.h"

namespace kinetra {

// A screen whose view is a table it serves itself: the table's data source and delegate are
// this controller. Subclasses give the rows and cells.
class TableViewController : public ViewController,
                            public TableViewDataSource,
                            public TableViewDelegate {
 public:
  explicit TableViewController(TableViewStyle style = TableViewStyle::kPlain);

  // The controller's view. A view set by hand that is not a table gives way to a new table.
  TableView& tableView();

  // What a detail disclosure button's tap does in most lists: selects its row (no animation, no
  // scrolling), then does what selecting the row does.
  void selectAndChooseRow(TableView& tableView, IndexPath indexPath);

  // clearsSelectionOnViewWillAppear: a list shown again (a screen above it closed) no longer
  // shows the row that opened that screen as selected. On by default.
  bool clearsSelectionOnViewWillAppear() const { return clearsSelection_; }
  void setClearsSelectionOnViewWillAppear(bool clears) { clearsSelection_ = clears; }
  void viewWillAppear(Animated animated) override;

 protected:
  std::unique_ptr<View> loadView() override;

 private:
  TableViewStyle style_;
  bool clearsSelection_ = true;
};

}  // namespace kinetra
