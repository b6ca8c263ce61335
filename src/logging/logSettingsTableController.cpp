#include "logging/logSettingsTableController.h"

#include "logging/HistoryNavigation.h"
#include "logging/LogTabViews.h"
#include "model/Selection.h"
#include "ui/Font.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";
constexpr int kPreviousRecordsRow = 0;
constexpr int kLogDateRow = 1;

}  // namespace

logSettingsTableController::logSettingsTableController(LogTabViews& views, HistoryState state)
    : views_(views), state_(state) {}

std::string logSettingsTableController::logDateText() const {
  const std::string& today = state_.selection.today;
  return today == state_.navigation.clockDay() ? "Log date: Today" : "Log date: " + today;
}

int logSettingsTableController::numberOfRowsInSection(TableView&, int) { return 2; }

std::unique_ptr<TableViewCell> logSettingsTableController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  cell->setFont(Font::boldSystemFontOfSize(kFontSize));
  cell->setText(indexPath.row == kPreviousRecordsRow ? "Previous exercise records" : logDateText());
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  return cell;
}

std::optional<double> logSettingsTableController::heightForRowAtIndexPath(TableView&,
                                                                          IndexPath indexPath) {
  return indexPath.row == kPreviousRecordsRow ? 30 : 35;
}

void logSettingsTableController::didSelectRowAtIndexPath(TableView& tableView,
                                                         IndexPath indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, Animated::Yes);
  if (indexPath.row == kPreviousRecordsRow) {
    showPreviousRecords();
  } else if (indexPath.row == kLogDateRow) {
    state_.navigation.pushOnExerciseTab(views_.loggingDate);
  }
}

void logSettingsTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                          IndexPath indexPath) {
  didSelectRowAtIndexPath(tableView, indexPath);
}

void logSettingsTableController::showPreviousRecords() {
  state_.selection.selectedDate.reset();
  views_.logDateLabel.setText({});
  state_.navigation.createPreviousDates();
  views_.PreviousLogTable1.reloadData();
  views_.PreviousLogTable2.reloadData();
  state_.navigation.pushOnExerciseTab(views_.kinetraLogView2);
}

}  // namespace kinetra
