#include "logging/LogTableController.h"

#include "logging/LogRowCell.h"
#include "model/LogEntry.h"

namespace kinetra {

std::string LogTableController::rowText(const PropertyList::Array& entry, std::size_t row) {
  const std::size_t first = row * kStringsPerSet;
  return "Set " + std::to_string(row + 1) + ", " + std::string(LogEntry::text(entry, first)) +
         " for " + std::string(LogEntry::text(entry, first + 1)) + " reps";
}

int LogTableController::numberOfRowsInSection(TableView&, int) { return today().numberOfSets(); }

std::unique_ptr<TableViewCell> LogTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                         IndexPath indexPath) {
  const PropertyList::Array* entry = today().entry();
  if (entry == nullptr || indexPath.row < 0) return LogRowCell::make(tableView, {}, {}, kFontSize);
  const auto row = static_cast<std::size_t>(indexPath.row);
  return LogRowCell::make(tableView, rowText(*entry, row),
                          std::string(LogEntry::text(*entry, row * kStringsPerSet + 2)), kFontSize);
}

void LogTableController::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                            IndexPath indexPath) {
  today().deleteSet(tableView, indexPath);
}

std::optional<double> LogTableController::heightForRowAtIndexPath(TableView&, IndexPath) {
  return LogRowCell::kRowHeight;
}

}  // namespace kinetra
