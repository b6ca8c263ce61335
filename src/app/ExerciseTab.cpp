#include "app/ExerciseTab.h"

#include <string>
#include <vector>

#include "ui/ScreenLayout.h"

namespace kinetra {

namespace {

constexpr double kWidth = ScreenLayout::kWidth;
constexpr double kHeight = ScreenLayout::kContentHeight;

}  // namespace

ExerciseTab::ExerciseTab(UserData& userData, const Selection& selection, RecordBook& records)
    : EntryPaneViews(userData, selection, records),
      exerciseScreen(ScreenLayout::contentView()),
      kinetraTabView(exerciseScreen.view()),
      velomarTabImage(Rect{0, 0, kWidth, kHeight}),
      MusclesText(Rect{10, 0, 305, 70}),
      RecordsText(Rect{16, 68, 299, 48}),
      kinetraHelpView(Rect{0, 0, kWidth, kHeight}),
      velomarNavigationTitle(exerciseScreen.navigationItem()),
      velomarBackButton("Back", BarButtonItemStyle::kBordered, {}),
      // One page is one panel: 321 × 369.
      logsScrollView(Rect{0, 0, kWidth + 1, kHeight + 2}),
      kinetraLogViewLeft(Rect{0, 0, kWidth, kHeight}),
      kinetraLogViewRight(Rect{2 * kWidth, 0, kWidth, kHeight}),
      kinetraAerobicsViewLeft(Rect{0, 0, kWidth, kHeight}),
      kinetraAerobicsViewRight(Rect{2 * kWidth, 0, kWidth, kHeight}),
      logExerciseLabelLeft(Rect{85, 5, 230, 25}),
      logExerciseLabelRight(Rect{85, 5, 230, 25}),
      aerobicsLogImageLeft(Rect{0, 75, kWidth, 40}),
      aerobicsLogImageRight(Rect{0, 75, kWidth, 40}),
      graphView(Rect{0, 0, 480, 320}),
      graphDuration(std::vector<std::string>{"7", "14", "28", "56"}, Rect{20, 270, 200, 30}),
      graphType(std::vector<std::string>{"Avg Wt", "Max Wt", "Avg Reps", "Max Reps"},
                Rect{230, 270, 230, 30}),
      noGraph(Rect{0, 0, 480, 260}),
      kinetraNavigationController(exerciseScreen) {
  kinetraHelpView.setBackgroundColor(Color::blackColor());
  MusclesText.setEditable(false);
  MusclesText.setBackgroundColor(Color::clearColor());
  RecordsText.setNumberOfLines(0);
  RecordsText.setBackgroundColor(Color::clearColor());

  // Three pages side by side: the previous, the current and the next exercise of a workout.
  logsScrollView.setContentSize(Size{3 * (kWidth + 1), kHeight + 2});
  kinetraLogViewLeft.addSubview(logExerciseLabelLeft);
  kinetraLogViewRight.addSubview(logExerciseLabelRight);
  kinetraAerobicsViewLeft.addSubview(aerobicsLogImageLeft);
  kinetraAerobicsViewRight.addSubview(aerobicsLogImageRight);

  // The graph's grays (band 0.168, grid 0.25, labels 0.8) are drawn for a dark screen.
  graphView.setBackgroundColor(Color::blackColor());
  graphDuration.setSelectedSegmentIndex(0);
  graphType.setSelectedSegmentIndex(0);
  graphView.addSubview(graphDuration);
  graphView.addSubview(graphType);

  kinetraNavigationController.setTitle("Exercise");
}

}  // namespace kinetra
