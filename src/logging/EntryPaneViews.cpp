#include "logging/EntryPaneViews.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace kinetra {

namespace {

constexpr double kWidth = 320;
constexpr double kPaneHeight = 369;

}  // namespace

EntryPaneViews::EntryPaneViews(UserData& userData, const Selection& selection, RecordBook& records)
    : logDoneButton("Done", BarButtonItemStyle::kDone, {}),
      logEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      kinetraLogView(Rect{0, 0, kWidth + 1, kPaneHeight}),
      logExerciseLabel(Rect{85, 5, 230, 25}),
      weight(Rect{85, 40, 60, 30}),
      weightDecimal(Rect{150, 40, 40, 30}),
      weightType(std::vector<std::string>{"lbs", "kg"}, Rect{195, 40, 115, 30}),
      reps(Rect{85, 80, 60, 30}),
      note(Rect{150, 80, 160, 30}),
      logAddButton(ButtonType::kRoundedRect, Rect{85, 118, 225, 32}),
      loggingTabTableView(Rect{0, 160, kWidth, 65}),
      logTableView(Rect{0, 230, kWidth, 139}),
      logTableController(userData, selection, records),
      restBar(kWidth),
      kinetraAerobicsView(Rect{0, 0, kWidth + 1, kPaneHeight}),
      aerobicsLabel(Rect{85, 5, 230, 25}),
      aerobicsLogImage(Rect{0, 75, kWidth, 40}),
      aerobicsField1(Rect{5, 118, 73, 30}),
      aerobicsField2(Rect{83, 118, 73, 30}),
      aerobicsField3(Rect{161, 118, 73, 30}),
      aerobicsField4(Rect{239, 118, 73, 30}),
      aerobicsField5(Rect{5, 152, 230, 30}),
      aerobicsAddButton(ButtonType::kRoundedRect, Rect{240, 152, 72, 30}),
      loggingTabTableView2(Rect{0, 190, kWidth, 65}),
      aerobicsTableView(Rect{0, 260, kWidth, 109}),
      aerobicsTableController(userData, selection) {
  assembleStrengthPane();
  assembleAerobicPane();
  // On a taller screen the panes grow, and today's sets take the extra height.
  for (View* view : std::initializer_list<View*>{&kinetraLogView, &logTableView,
                                                 &kinetraAerobicsView, &aerobicsTableView}) {
    view->setAutoresizingMask(View::kFlexibleHeight);
  }
}

void EntryPaneViews::assembleStrengthPane() {
  for (TextField* field : {&weight, &weightDecimal, &reps, &note}) {
    field->setBorderStyle(TextBorderStyle::kRoundedRect);
  }
  weight.setPlaceholder("weight");
  weightDecimal.setText("0");
  reps.setPlaceholder("reps");
  note.setPlaceholder("note");
  weightType.setSelectedSegmentIndex(0);
  logAddButton.setTitle("Add Set", ControlState::kNormal);
  for (View* view :
       std::initializer_list<View*>{&logExerciseLabel, &weight, &weightDecimal, &weightType, &reps,
                                    &note, &logAddButton, &loggingTabTableView, &logTableView}) {
    kinetraLogView.addSubview(*view);
  }
  logTableView.setDataSource(&logTableController);
  logTableView.setDelegate(&logTableController);
  restBar.bar.setFrame({0, kPaneHeight - RestBar::kHeight, kWidth, RestBar::kHeight});
  kinetraLogView.addSubview(restBar.bar);
}

void EntryPaneViews::assembleAerobicPane() {
  for (TextField* field :
       {&aerobicsField1, &aerobicsField2, &aerobicsField3, &aerobicsField4, &aerobicsField5}) {
    field->setBorderStyle(TextBorderStyle::kRoundedRect);
  }
  aerobicsTableView.setDataSource(&aerobicsTableController);
  aerobicsTableView.setDelegate(&aerobicsTableController);
  aerobicsField5.setPlaceholder("note");
  aerobicsAddButton.setTitle("Add", ControlState::kNormal);
  for (View* view : std::initializer_list<View*>{&aerobicsLabel, &aerobicsLogImage, &aerobicsField1,
                                                 &aerobicsField2, &aerobicsField3, &aerobicsField4,
                                                 &aerobicsField5, &aerobicsAddButton,
                                                 &loggingTabTableView2, &aerobicsTableView}) {
    kinetraAerobicsView.addSubview(*view);
  }
}

}  // namespace kinetra
