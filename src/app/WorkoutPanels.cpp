#include "app/WorkoutPanels.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/ExerciseScreen.h"
#include "app/VelomarAppDelegate.h"
#include "logging/AerobicEntryPane.h"
#include "logging/StrengthEntryPane.h"
#include "model/AerobicKind.h"
#include "model/LogEntry.h"

namespace kinetra {

namespace {

constexpr int kWorkoutsTab = 2;
constexpr const char* kLogEntryTitle = "Log Entry";

}  // namespace

WorkoutPanels::WorkoutPanels(VelomarAppDelegate& state) : state_(state), ui_(state.interface()) {}

void WorkoutPanels::logFromRow(int row) {
  const std::vector<std::string> names = ui_.singleWorkoutTableView.exercises();
  if (row < 0 || static_cast<std::size_t>(row) >= names.size()) return;
  const auto r = static_cast<std::size_t>(row);
  state_.selection().selectedExercise = names[r];
  ui_.singleWorkoutTableView.tableView().scrollToRowAtIndexPath(
      {0, row}, TableViewScrollPosition::kMiddle, Animated::No);
  if (r > 0) setUp(names[r - 1], Position::kLeft);
  if (r + 1 < names.size()) setUp(names[r + 1], Position::kRight);
  // A copy: setting up may rebuild the panels and the selection with them.
  const std::string selected = state_.selection().selectedExercise;
  setUp(selected, Position::kMiddle);
}

void WorkoutPanels::setUp(const std::string& name, Position position) {
  const bool aerobic = isAerobicExercise(name);
  // The previous record: `name`'s entry on the latest day the selected exercise was logged.
  state_.createPreviousDates();
  const std::vector<std::string>& days = state_.selection().previousDates;
  const PropertyList::Array* found =
      days.empty()
          ? nullptr
          : LogEntry::find(aerobic ? state_.userData().aerobicsLog : state_.userData().exerciseLog,
                           days.back(), name);
  const std::optional<PropertyList::Array> previous =
      found != nullptr ? std::optional<PropertyList::Array>(*found) : std::nullopt;

  View& panel = position == Position::kLeft
                    ? (aerobic ? ui_.kinetraAerobicsViewLeft : ui_.kinetraLogViewLeft)
                : position == Position::kRight
                    ? (aerobic ? ui_.kinetraAerobicsViewRight : ui_.kinetraLogViewRight)
                : aerobic ? ui_.kinetraAerobicsView
                          : ui_.kinetraLogView;
  ExerciseScreen screen(state_);
  screen.putHeader(panel, name);
  state_.selection().lastTabIndex = kWorkoutsTab;
  screen.show();

  ui_.kinetraHelpView.removeFromSuperview();
  ui_.velomarTabImage.removeFromSuperview();
  if (ui_.velomarTabText) ui_.velomarTabText->removeFromSuperview();
  if (aerobic) {
    const AerobicKind* kind = AerobicKind::named(name);
    ImageView& picture = position == Position::kLeft    ? ui_.aerobicsLogImageLeft
                         : position == Position::kRight ? ui_.aerobicsLogImageRight
                                                        : ui_.aerobicsLogImage;
    picture.setImage(kind != nullptr ? Image::resource(state_.bundle(), kind->logPicture, "png")
                                     : Image());
    ui_.aerobicsLabel.setText(name);
    AerobicEntryPane(ui_, state_.loggingState()).nameFields(name);
  } else {
    ui_.logExerciseLabel.setText(name);
    ui_.MusclesText.removeFromSuperview();
    ui_.RecordsText.removeFromSuperview();
  }

  // Placement: page i is row i of the workout.
  const std::vector<std::string> names = ui_.singleWorkoutTableView.exercises();
  const auto at = std::find(names.begin(), names.end(), name);
  const double page = static_cast<double>(at - names.begin());
  // On a taller screen the pages are as tall as the card, and each panel's table takes the
  // extra height.
  const double height = std::max(kPageHeight, ui_.kinetraTabView.bounds().height);
  ui_.logsScrollView.setFrame({0, 0, kPageWidth, height});
  ui_.logsScrollView.setContentSize({static_cast<double>(names.size()) * kPageWidth, height});
  panel.setFrame({page * kPageWidth, 0, kPageWidth, height});
  ui_.logsScrollView.addSubview(panel);
  if (position == Position::kMiddle) {
    ui_.logsScrollView.setContentOffset({page * kPageWidth, 0}, Animated::No);
  } else {
    (position == Position::kLeft ? ui_.logExerciseLabelLeft : ui_.logExerciseLabelRight)
        .setText(name);
  }

  ui_.kinetraTabView.addSubview(ui_.logsScrollView);
  (aerobic ? ui_.aerobicsTableView : ui_.logTableView).reloadData();
  state_.flags().flipEnabled = false;
  ui_.velomarNavigationTitle.setLeftBarButtonItem(&ui_.logDoneButton);
  ui_.velomarNavigationTitle.setRightBarButtonItem(&ui_.logEditButton);
  ui_.velomarNavigationTitle.setTitle(kLogEntryTitle);

  const PropertyList::Array* entry = previous ? &*previous : nullptr;
  if (aerobic) {
    AerobicEntryPane(ui_, state_.loggingState()).fillFieldsFrom(entry);
  } else {
    StrengthEntryPane(ui_, state_.loggingState()).fillFieldsFrom(entry);
  }
}

void WorkoutPanels::scrolled() {
  bool& armed = state_.flags().refreshLogScroll;
  if (!armed) return;
  // Single precision, as the rule has always been computed.
  const auto pages =
      static_cast<double>(static_cast<float>(ui_.logsScrollView.contentOffset().x / kPageWidth));
  if (std::fabs(pages - std::trunc(pages)) >= kPageTolerance) return;
  armed = false;
  logFromRow(pages < 0 ? 0 : static_cast<int>(std::trunc(pages)));
}

}  // namespace kinetra
