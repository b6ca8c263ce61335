#include "logging/PreviousLogTableController.h"

#include "logging/LogTabViews.h"
#include "model/Selection.h"
#include "ui/Font.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";

}  // namespace

PreviousLogTableController::PreviousLogTableController(LogTabViews& views, HistoryState state)
    : views_(views), state_(state) {}

std::optional<std::string> PreviousLogTableController::dayOnRow(int row) const {
  const std::vector<std::string>& days = state_.selection.previousDates;
  if (row < 0 || static_cast<std::size_t>(row) >= days.size()) return std::nullopt;
  return days[days.size() - 1 - static_cast<std::size_t>(row)];
}

int PreviousLogTableController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state_.selection.previousDates.size());
}

std::unique_ptr<TableViewCell> PreviousLogTableController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  cell->setText(dayOnRow(indexPath.row).value_or(""));
  cell->setSelectionStyle(TableViewCellSelectionStyle::kNone);
  // Small enough for the longest day string to fit the narrow list.
  cell->setFont(Font::systemFontOfSize(kFontSize));
  return cell;
}

void PreviousLogTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const std::optional<std::string> day = dayOnRow(indexPath.row);
  if (!day) return;
  state_.selection.selectedDate = *day;
  views_.logDateLabel.setText(*day);
  views_.PreviousLogTable2.reloadData();
}

}  // namespace kinetra
