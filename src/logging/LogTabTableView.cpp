#include "logging/LogTabTableView.h"

#include <algorithm>
#include <string>
#include <utility>

#include "catalogue/ExercisePictures.h"
#include "logging/HistoryNavigation.h"
#include "logging/LogTabViews.h"
#include "model/Catalogue.h"
#include "model/EditingFlags.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "ui/Font.h"
#include "ui/Label.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";
constexpr const char* kConnectionNotice = "Requires WIFI or cellular data connection.";
constexpr int kPreviousDayRange = 1000;
constexpr int kAllRecordsRange = 10000;

enum MenuRow { kToday, kPreviousDay, kPast7, kPast14, kPast30, kAllRecords };

}  // namespace

LogTabTableView::LogTabTableView(LogTabViews& views, HistoryState state)
    : TableViewController(TableViewStyle::kGrouped), views_(views), state_(state) {
  setTitle("Log");
}

std::string LogTabTableView::pictureName(std::string_view text) {
  std::string name(text);
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

int LogTabTableView::numberOfRowsInSection(TableView&, int section) {
  return section == 0 ? static_cast<int>(state_.catalogue.logDates.size()) : 1;
}

std::unique_ptr<TableViewCell> LogTabTableView::cellForRowAtIndexPath(TableView& tableView,
                                                                      IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  const std::vector<std::string>& periods = state_.catalogue.logDates;
  std::string text = kExportRow;
  Font font = Label().font();  // the default, put back since the cell may have been reused
  if (indexPath.section == 0) {
    const auto row = static_cast<std::size_t>(std::max(indexPath.row, 0));
    text = row < periods.size() ? periods[row] : std::string();
    if (row + 1 == periods.size()) font = Font::italicSystemFontOfSize(kItalicFontSize);
  }
  cell->setFont(font);
  cell->setImage(state_.pictures.namedPicture(pictureName(text)));
  cell->setText(std::move(text));
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  return cell;
}

void LogTabTableView::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  resetHistory();
  if (indexPath.section != 0) {
    showExport();
    return;
  }
  Selection& selection = state_.selection;
  switch (indexPath.row) {
    case kToday:
      views_.logNavigationTitle.setTitle("Today's Log");
      selection.selectedDate = selection.today;
      views_.showDayLog();
      break;
    case kPreviousDay:
      state_.navigation.createLogDates(kPreviousDayRange);
      choosePreviousDay();
      views_.showDayLog();
      break;
    case kPast7:
      showPeriod(7, "Past 7 days", false);
      break;
    case kPast14:
      showPeriod(14, "Past 14 days", false);
      break;
    case kPast30:
      showPeriod(30, "Past 30 days", false);
      break;
    case kAllRecords:
      showPeriod(kAllRecordsRange, "All Records", true);
      break;
    default:
      break;
  }
}

void LogTabTableView::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                               IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

bool LogTabTableView::textFieldShouldReturn(TextField& textField) {
  textField.resignFirstResponder();
  return true;
}

void LogTabTableView::resetHistory() {
  state_.selection.selectedDate.reset();
  views_.logNavigationTitle.setTitle({});
  views_.limitedLogNavigationTitle.setRightBarButtonItem(nullptr);
  views_.LimitedLogTableView.tableView().setEditing(false, Animated::No);
  views_.logDatesEditButton.setTitle("Edit");
  state_.flags.datesEdit = false;
}

void LogTabTableView::choosePreviousDay() {
  Selection& selection = state_.selection;
  const std::vector<std::string>& days = selection.limitedDates;
  if (days.empty()) return;
  std::string day;
  std::string title;
  if (days.back() != selection.today) {
    day = days.back();
    title = day;
  } else if (days.size() == 1) {
    day = "None";
    title = "No records";
  } else {
    day = days[days.size() - 2];
    title = day;
  }
  selection.selectedDate = std::move(day);
  views_.logNavigationTitle.setTitle(std::move(title));
}

void LogTabTableView::showPeriod(int days, const char* title, bool editable) {
  state_.navigation.createLogDates(days);
  views_.LimitedLogTableView.tableView().reloadData();
  views_.limitedLogNavigationTitle.setTitle(title);
  if (editable) views_.limitedLogNavigationTitle.setRightBarButtonItem(&views_.logDatesEditButton);
  views_.logNavigationController.pushViewController(views_.LimitedLogTableView, Animated::Yes);
}

void LogTabTableView::showExport() {
  const PropertyList* email =
      state_.userData.settings.isDictionary() ? state_.userData.settings.find("email") : nullptr;
  views_.emailAddress.setText(email != nullptr && email->isString() ? std::string(email->asString())
                                                                    : std::string());
  if (views_.emailAddress.text().empty()) views_.emailAddress.becomeFirstResponder();
  views_.emailLabel.setText(kConnectionNotice);
  views_.logNavigationController.pushViewController(views_.emailView, Animated::Yes);
}

}  // namespace kinetra
