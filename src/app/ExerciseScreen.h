#pragma once

#include <string>

#include "ui/Geometry.h"

namespace kinetra {

class MainInterface;
struct EditingFlags;
class VelomarAppDelegate;
class View;

// The exercise screen's logic (tab 0): the card with its front and back, the bar control's
// three actions, and the opening, closing and leaving of the entry panes. Keeps no state: it
// works on the shared state it is made with, which must outlive it; make one per action.
class ExerciseScreen {
 public:
  // Animation lengths in seconds.
  static constexpr double kFlipDuration = 0.75;
  static constexpr double kPaneDuration = 1.0;
  static constexpr double kGraphFadeDuration = 0.75;
  // Where the pane header's two pictures are centred.
  static constexpr Point kHeaderCenter{40, 80};
  static constexpr Point kAerobicHeaderCenter{40, 37};
  // The entry pane's frame in the card.
  static constexpr Rect kPaneFrame{0, 0, 321, 369};
  // The graph is shown turned a quarter turn, centred on the window (on a 320 × 480 one, here).
  static constexpr Point kGraphCenter{160, 240};
  // Marks the pane header's pictures, so that opening a pane again replaces them.
  static constexpr int kHeaderTag = 0x6b68;
  static constexpr int kGraphSegment = 2;

  explicit ExerciseScreen(VelomarAppDelegate& state);

  // velomarTabSelect: shows `selectedExercise` on the card's front and selects tab 0.
  void show();
  // velomarFlipView: turns the card as one flip.
  void flipCard();
  // segmentAction: the action of the bar control's segment just tapped.
  void barControlTapped();
  // logView: with false / true.
  void openPane();
  void closePane();
  // logDoneSelect.
  void leavePane();
  // The bar's graph segment: the graph over everything, turned, fading in.
  void showGraph();
  // Straight to log entry for `name`, as one pane over the exercise screen: `name` becomes the
  // selected exercise, the pane gets its header and fields filled from the latest logged day,
  // and `fromTab` is the way back.
  void quickLog(const std::string& name, int fromTab);
  // The header of a pane for `exercise`: the "background" picture with the exercise's thumbnail
  // in front, centred where the pane's kind puts them, in place of an earlier header.
  void putHeader(View& pane, const std::string& exercise);

 private:
  // kPaneFrame, made as tall as the card.
  Rect paneFrame() const;
  void openEntryPane();
  void putHeader(View& pane);
  void openStrengthPane();
  void openAerobicPane();

  VelomarAppDelegate& state_;
  MainInterface& ui_;
  EditingFlags& flags_;
  const std::string& exercise_;  // the selected exercise
};

}  // namespace kinetra
