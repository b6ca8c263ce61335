#include "ui/TableViewController.h"

namespace kinetra {

TableViewController::TableViewController(TableViewStyle style) : style_(style) {}

TableView& TableViewController::tableView() {
  if (auto* table = dynamic_cast<TableView*>(&view())) return *table;
  // A view set by hand that is no table is replaced by one.
  setView(loadView());
  return static_cast<TableView&>(view());
}

std::unique_ptr<View> TableViewController::loadView() {
  auto table = std::make_unique<TableView>(Rect{0, 0, kDefaultWidth, kDefaultHeight}, style_);
  table->setDataSource(this);
  table->setDelegate(this);
  return table;
}

void TableViewController::selectAndChooseRow(TableView& tableView, IndexPath indexPath) {
  tableView.selectRowAtIndexPath(indexPath, Animated::No, TableViewScrollPosition::kNone);
  didSelectRowAtIndexPath(tableView, indexPath);
}

void TableViewController::viewWillAppear(Animated animated) {
  if (!clearsSelection_ || !isViewLoaded()) return;
  TableView& table = tableView();
  if (const std::optional<IndexPath> selected = table.indexPathForSelectedRow()) {
    table.deselectRowAtIndexPath(*selected, animated);
  }
}

}  // namespace kinetra
