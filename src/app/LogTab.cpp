#include "app/LogTab.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "app/ScreenLayout.h"

namespace kinetra {

namespace {

constexpr double kWidth = ScreenLayout::kWidth;
constexpr double kHeight = ScreenLayout::kContentHeight;

}  // namespace

LogTab::LogTab()
    : kinetraLogView2(ScreenLayout::contentView()),
      logDateLabel(Rect{0, 0, kWidth, 24}),
      PreviousLogTable1(Rect{0, 24, 110, kHeight - 24}),
      PreviousLogTable2(Rect{110, 24, kWidth - 110, kHeight - 24}),
      loggingDate(ScreenLayout::contentView()),
      datePicker(Rect{0, 0, kWidth, 216}),
      useLoggingDateButton(ButtonType::kRoundedRect, Rect{20, 240, 280, 40}),
      logTabTableView("Log", TableViewStyle::kGrouped),
      exerciseLogTableView("Today's Log"),
      logNavigationTitle(exerciseLogTableView.navigationItem()),
      LimitedLogTableView("Past 7 days"),
      limitedLogNavigationTitle(LimitedLogTableView.navigationItem()),
      logDatesEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      emailView(ScreenLayout::contentView()),
      emailAddress(Rect{20, 20, 280, 31}),
      emailLogDuration(std::vector<std::string>{"All", "30 days", "14 days", "7 days"},
                       Rect{20, 66, 280, 30}),
      emailLabel(Rect{20, 106, 280, 21}),
      emailSendButton(ButtonType::kRoundedRect, Rect{20, 140, 280, 40}),
      logNavigationController(logTabTableView) {
  kinetraLogView2.setTitle("Previous Records");
  logDateLabel.setTextAlignment(TextAlignment::kCenter);
  for (View* view :
       std::initializer_list<View*>{&logDateLabel, &PreviousLogTable1, &PreviousLogTable2}) {
    kinetraLogView2.view().addSubview(*view);
  }

  loggingDate.setTitle("Log Date");
  datePicker.setDatePickerMode(DatePickerMode::kDate);
  useLoggingDateButton.setTitle("Use This Date", ControlState::kNormal);
  loggingDate.view().addSubview(datePicker);
  loggingDate.view().addSubview(useLoggingDateButton);

  emailView.setTitle("Export Logs");
  emailAddress.setBorderStyle(TextBorderStyle::kRoundedRect);
  emailAddress.setPlaceholder("e-mail address");
  emailLogDuration.setSelectedSegmentIndex(0);
  emailSendButton.setTitle("Send", ControlState::kNormal);
  for (View* view : std::initializer_list<View*>{&emailAddress, &emailLogDuration, &emailLabel,
                                                 &emailSendButton}) {
    emailView.view().addSubview(*view);
  }

  logNavigationController.setTitle("Log");
}

}  // namespace kinetra
