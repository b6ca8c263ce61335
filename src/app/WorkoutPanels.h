#pragma once

#include <string>

namespace kinetra {

class MainInterface;
class VelomarAppDelegate;

// The paging log panels of a workout on the exercise screen: the entry views of an exercise and
// of its neighbours in the workout side by side in `logsScrollView`, one 321-point page per
// exercise of the workout, so that the user logs one exercise and swipes to the next. Keeps no
// state: it works on the shared state it is made with; make one per action.
class WorkoutPanels {
 public:
  static constexpr double kPageWidth = 321;
  static constexpr double kPageHeight = 369;
  // How close to a whole page (in pages) a gliding offset rebuilds the panels.
  static constexpr double kPageTolerance = 0.05;

  enum class Position { kLeft, kMiddle, kRight };

  explicit WorkoutPanels(VelomarAppDelegate& state);

  // The workout screen's accessory-tap handler for row `row`: `selectedExercise` becomes the
  // row's exercise, the row is centred, and the panels of its left neighbour, its right
  // neighbour and itself are set up, in that order (the last decides the shared fields).
  void logFromRow(int row);
  // setupLogScrollViews:thePosition: one panel for exercise `name` at `position`.
  void setUp(const std::string& name, Position position);
  // scrollViewDidScroll: of the panels' scroll view: once a released swipe glides to within
  // kPageTolerance of a whole page, the panels are rebuilt around that page's row, once.
  void scrolled();

 private:
  VelomarAppDelegate& state_;
  MainInterface& ui_;
};

}  // namespace kinetra
