#include "logging/LimitedLogTableController.h"

#include <algorithm>
#include <span>
#include <utility>

#include "logging/LogTabViews.h"
#include "model/LogEntry.h"
#include "model/RecordBook.h"
#include "model/Selection.h"
#include "model/UserData.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";

}  // namespace

LimitedLogTableController::LimitedLogTableController(LogTabViews& views, HistoryState state)
    : views_(views), state_(state) {
  setTitle("Past 7 days");
}

std::optional<std::string> LimitedLogTableController::dayOnRow(int row) const {
  const std::vector<std::string>& days = state_.selection.limitedDates;
  if (row < 0 || static_cast<std::size_t>(row) >= days.size()) return std::nullopt;
  return days[days.size() - 1 - static_cast<std::size_t>(row)];
}

int LimitedLogTableController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state_.selection.limitedDates.size());
}

std::unique_ptr<TableViewCell> LimitedLogTableController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  cell->setText(dayOnRow(indexPath.row).value_or(""));
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  return cell;
}

void LimitedLogTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  std::optional<std::string> day = dayOnRow(indexPath.row);
  if (!day) return;
  views_.logNavigationTitle.setTitle(*day);
  state_.selection.selectedDate = std::move(day);
  views_.showDayLog();
}

void LimitedLogTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                         IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

void LimitedLogTableController::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                                   IndexPath indexPath) {
  const std::optional<std::string> day = dayOnRow(indexPath.row);
  if (!day) {
    tableView.reloadData();
    return;
  }
  UserData& data = state_.userData;
  state_.records.forgetDay(data.exerciseLog, *day);
  // Only a log that held the day changes, and only that one is written (each write costs a
  // flush to the disk). A failed write is reported by the save itself; the next write of that
  // log carries the change.
  if (LogEntry::removeDay(data.exerciseLog, *day)) {
    static_cast<void>(data.saveExerciseLog(std::span(&*day, 1)));
  }
  if (LogEntry::removeDay(data.aerobicsLog, *day)) {
    static_cast<void>(data.saveAerobicsLog(std::span(&*day, 1)));
  }
  std::vector<std::string>& days = state_.selection.limitedDates;
  days.erase(days.begin() + static_cast<std::ptrdiff_t>(days.size() - 1 -
                                                        static_cast<std::size_t>(indexPath.row)));
  tableView.beginUpdates();
  tableView.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kTop);
  tableView.endUpdates();
}

}  // namespace kinetra
