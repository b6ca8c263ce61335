#include "logging/LogTabViews.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "model/LogImport.h"
#include "ui/Font.h"
#include "ui/ScreenLayout.h"

namespace kinetra {

namespace {

constexpr double kWidth = ScreenLayout::kWidth;
constexpr double kHeight = ScreenLayout::kContentHeight;

std::unique_ptr<View> contentView() { return ScreenLayout::contentView(); }

}  // namespace

LogTabViews::LogTabViews(HistoryState state)
    : kinetraLogView2(contentView()),
      logDateLabel(Rect{0, 0, kWidth, 24}),
      PreviousLogTable1(Rect{0, 24, 110, kHeight - 24}),
      PreviousLogTable2(Rect{110, 24, kWidth - 110, kHeight - 24}),
      previousLogTableController(*this, state),
      previousLogTableController2(state),
      loggingDate(contentView()),
      datePicker(Rect{0, 0, kWidth, 216}),
      useLoggingDateButton(ButtonType::kRoundedRect, Rect{20, 240, 280, 40}),
      logSettings(*this, state),
      logTabTableView(*this, state),
      exerciseLogTableView(state),
      logNavigationTitle(exerciseLogTableView.navigationItem()),
      LimitedLogTableView(*this, state),
      limitedLogNavigationTitle(LimitedLogTableView.navigationItem()),
      logDatesEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      emailView(contentView()),
      emailAddress(Rect{20, 20, 280, 31}),
      emailLogDuration(std::vector<std::string>{"All", "30 days", "14 days", "7 days"},
                       Rect{20, 66, 280, 30}),
      emailLabel(Rect{20, 98, 280, 40}),
      emailSendButton(ButtonType::kRoundedRect, Rect{20, 140, 280, 40}),
      emailDownloadButton(ButtonType::kRoundedRect, Rect{20, 196, 134, 40}),
      emailImportButton(ButtonType::kRoundedRect, Rect{166, 196, 134, 40}),
      logNavigationController(logTabTableView) {
  kinetraLogView2.setTitle("Previous Records");
  logDateLabel.setTextAlignment(TextAlignment::kCenter);
  for (View* view :
       std::initializer_list<View*>{&logDateLabel, &PreviousLogTable1, &PreviousLogTable2}) {
    kinetraLogView2.view().addSubview(*view);
  }
  PreviousLogTable1.setDataSource(&previousLogTableController);
  PreviousLogTable1.setDelegate(&previousLogTableController);
  PreviousLogTable2.setDataSource(&previousLogTableController2);
  PreviousLogTable2.setDelegate(&previousLogTableController2);

  loggingDate.setTitle("Log Date");
  datePicker.setDatePickerMode(DatePickerMode::kDate);
  useLoggingDateButton.setTitle("Use This Date", ControlState::kNormal);
  loggingDate.view().addSubview(datePicker);
  loggingDate.view().addSubview(useLoggingDateButton);

  emailView.setTitle("Export Logs");
  emailAddress.setBorderStyle(TextBorderStyle::kRoundedRect);
  emailAddress.setPlaceholder("e-mail address");
  emailAddress.setDelegate(&logTabTableView);
  emailLogDuration.setSelectedSegmentIndex(0);
  // Two lines, centred: the longest status text fits whole.
  emailLabel.setNumberOfLines(2);
  emailLabel.setTextAlignment(TextAlignment::kCenter);
  emailLabel.setFont(Font::systemFontOfSize(15));
  emailLabel.setBackgroundColor(Color::clearColor());
  emailSendButton.setTitle("Send", ControlState::kNormal);
  emailDownloadButton.setTitle("Download CSV", ControlState::kNormal);
  emailImportButton.setTitle("Import CSV", ControlState::kNormal);
  for (View* view :
       std::initializer_list<View*>{&emailAddress, &emailLogDuration, &emailLabel, &emailSendButton,
                                    &emailDownloadButton, &emailImportButton}) {
    emailView.view().addSubview(*view);
  }
  csvPicker.setTitle("Import CSV");
  csvPicker.setPrompt(
      "A CSV file exported by Kinetra or by another workout log. Days and exercises already "
      "logged keep their sets.");
  csvPicker.setAllowedTypes({".csv", "text/csv"});
  csvPicker.setMaxBytes(LogImport::kMaxBytes);

  logNavigationController.setTitle("Log");
}

void LogTabViews::showDayLog() {
  TableView& table = exerciseLogTableView.tableView();
  table.setContentOffset({0, 0}, Animated::No);
  table.reloadData();
  logNavigationController.pushViewController(exerciseLogTableView, Animated::Yes);
}

}  // namespace kinetra
