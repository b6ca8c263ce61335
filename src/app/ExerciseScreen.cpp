#include "app/ExerciseScreen.h"

#include <algorithm>
#include <numbers>
#include <vector>

#include "app/VelomarAppDelegate.h"
#include "catalogue/ExercisePictures.h"
#include "logging/AerobicEntryPane.h"
#include "logging/StrengthEntryPane.h"
#include "model/AerobicKind.h"
#include "ui/Application.h"

namespace kinetra {

namespace {

constexpr const char* kLogEntryTitle = "Log Entry";

// A transition block of the card; the stop callback does no work.
void beginCardAnimation(double seconds) {
  View::beginAnimations();
  View::setAnimationDuration(seconds);
  View::setAnimationDidStop([](const std::string&, bool) {});
}

// The thumbnail of the record of `exercises` named `exercise`; empty when there is none.
Image thumbnailOf(VelomarAppDelegate& state, std::string_view exercise) {
  const ExerciseRecord record = recordNamed(state.exerciseList().exercises, exercise);
  return record == nullptr ? Image() : state.pictures().thumbnail(*record);
}

}  // namespace

ExerciseScreen::ExerciseScreen(VelomarAppDelegate& state)
    : state_(state),
      ui_(state.interface()),
      flags_(state.flags()),
      exercise_(state.selection().selectedExercise) {}

void ExerciseScreen::show() {
  if (ui_.segmentedControl) {
    ui_.segmentedControl->setEnabled(!isAerobicExercise(exercise_), kGraphSegment);
  }
  flags_.backViewIsVisible = false;
  flags_.flipEnabled = true;
  ui_.velomarNavigationTitle.setTitle({});
  // A log page left open over the exercise screen.
  ui_.kinetraNavigationController.popViewControllerAnimated(Animated::No);
  ui_.kinetraLogView.removeFromSuperview();
  ui_.kinetraAerobicsView.removeFromSuperview();
  if (ui_.velomarTabText) ui_.velomarTabText->removeFromSuperview();
  ui_.kinetraTabView.addSubview(ui_.velomarTabImage);
  ui_.tabBarController.setSelectedIndex(0);
}

void ExerciseScreen::flipCard() {
  View& card = ui_.kinetraTabView;
  beginCardAnimation(kFlipDuration);
  if (!flags_.backViewIsVisible) {
    View::setAnimationTransition(AnimationTransition::kFlipFromRight, card);
    ui_.velomarTabImage.removeFromSuperview();
    if (!flags_.doneLogo) {
      card.addSubview(ui_.kinetraHelpView);
    } else {
      if (ui_.velomarTabText) card.addSubview(*ui_.velomarTabText);
      // The records as they stand now: sets may have been logged since the card was opened.
      state_.updateRecordsText();
      card.addSubview(ui_.RecordsText);
      card.addSubview(ui_.MusclesText);
    }
  } else {
    View::setAnimationTransition(AnimationTransition::kFlipFromLeft, card);
    if (!flags_.doneLogo)
      ui_.velomarTabImage.setImage(Image::resource(state_.bundle(), "logo", "jpg"));
    if (ui_.velomarTabText) ui_.velomarTabText->removeFromSuperview();
    card.addSubview(ui_.velomarTabImage);
  }
  View::commitAnimations();
  flags_.backViewIsVisible = !flags_.backViewIsVisible;
}

void ExerciseScreen::barControlTapped() {
  if (!ui_.segmentedControl) return;
  switch (ui_.segmentedControl->selectedSegmentIndex()) {
    case 0:
      flipCard();
      break;
    case 1:
      openEntryPane();
      break;
    case kGraphSegment:
      showGraph();
      break;
    default:
      break;
  }
}

void ExerciseScreen::openEntryPane() {
  View& pane = isAerobicExercise(exercise_) ? ui_.kinetraAerobicsView : ui_.kinetraLogView;
  ui_.logsScrollView.removeFromSuperview();
  putHeader(pane);
  pane.setFrame(paneFrame());
  ui_.logExerciseLabel.setText(exercise_);
  openPane();
  ui_.velomarNavigationTitle.setLeftBarButtonItem(&ui_.logDoneButton);
  ui_.velomarNavigationTitle.setRightBarButtonItem(&ui_.logEditButton);
  ui_.velomarNavigationTitle.setTitle(kLogEntryTitle);
}

void ExerciseScreen::putHeader(View& pane) { putHeader(pane, exercise_); }

Rect ExerciseScreen::paneFrame() const {
  // As tall as the card when the window is taller: the pane's table takes the extra height.
  Rect frame = kPaneFrame;
  frame.height = std::max(frame.height, ui_.kinetraTabView.bounds().height - frame.y);
  return frame;
}

void ExerciseScreen::putHeader(View& pane, const std::string& exercise) {
  // The header of an earlier opening goes first, so the pane never piles up pictures.
  std::vector<View*> old;
  for (View* view : pane.subviews()) {
    if (view->tag() == kHeaderTag) old.push_back(view);
  }
  for (View* view : old) view->removeFromSuperview();

  const Point center = isAerobicExercise(exercise) ? kAerobicHeaderCenter : kHeaderCenter;
  auto background =
      std::make_unique<ImageView>(Image::resource(state_.bundle(), "background", "jpg"));
  auto picture = std::make_unique<ImageView>(thumbnailOf(state_, exercise));
  for (ImageView* view : {background.get(), picture.get()}) {
    view->setCenter(center);
    view->setTag(kHeaderTag);
  }
  pane.addSubview(std::move(background));
  pane.addSubview(std::move(picture));
}

void ExerciseScreen::openPane() {
  ui_.velomarTabImage.removeFromSuperview();
  if (ui_.velomarTabText) ui_.velomarTabText->removeFromSuperview();
  ui_.logEditButton.setTitle("Edit");
  flags_.logEditing = false;
  flags_.flipEnabled = false;

  if (flags_.useLogScroll) {
    // The panes build the day list themselves when they are filled (below).
    state_.createPreviousDates();
    // The workout screen builds and fills its paging panels from its selected row.
    TableView& workout = ui_.singleWorkoutTableView.tableView();
    TableViewDelegate* delegate = workout.delegate();
    const std::optional<IndexPath> row = workout.indexPathForSelectedRow();
    if (delegate != nullptr && row)
      delegate->accessoryButtonTappedForRowWithIndexPath(workout, *row);
    ui_.kinetraTabView.addSubview(ui_.logsScrollView);
    return;
  }
  beginCardAnimation(kPaneDuration);
  if (isAerobicExercise(exercise_)) {
    openAerobicPane();
  } else {
    openStrengthPane();
  }
  View::commitAnimations();
}

void ExerciseScreen::openStrengthPane() {
  ui_.kinetraTabView.addSubview(ui_.kinetraLogView);
  View::setAnimationTransition(AnimationTransition::kCurlUp, ui_.kinetraTabView);
  // Takes the table out of editing mode, reloads it and fills the fields.
  state_.createPreviousDates();
  StrengthEntryPane(ui_, state_.loggingState()).prepare();
}

void ExerciseScreen::openAerobicPane() {
  const AerobicKind* kind = AerobicKind::named(exercise_);
  ui_.aerobicsLogImage.setImage(
      kind != nullptr ? Image::resource(state_.bundle(), kind->logPicture, "png") : Image());
  ui_.aerobicsLabel.setText(exercise_);
  ui_.kinetraTabView.addSubview(ui_.kinetraAerobicsView);
  View::setAnimationTransition(AnimationTransition::kCurlUp, ui_.kinetraTabView);
  state_.createPreviousDates();
  AerobicEntryPane(ui_, state_.loggingState()).prepare();
}

void ExerciseScreen::closePane() {
  ui_.kinetraLogView.removeFromSuperview();
  ui_.kinetraAerobicsView.removeFromSuperview();
  ui_.kinetraTabView.addSubview(ui_.velomarTabImage);
  flags_.backViewIsVisible = false;
  flags_.flipEnabled = true;
}

void ExerciseScreen::leavePane() {
  if (ui_.velomarNavigationTitle.title() == kLogEntryTitle) {
    if (state_.selection().lastTabIndex == 2) ui_.singleWorkoutTableView.tableView().reloadData();
    ui_.tabBarController.setSelectedIndex(state_.selection().lastTabIndex);
    return;
  }
  ui_.velomarNavigationTitle.setLeftBarButtonItem(&ui_.velomarBackButton);
  ui_.velomarNavigationTitle.setRightBarButtonItem(ui_.segmentBarItem.get());
  ui_.velomarNavigationTitle.setTitle({});
  closePane();
}

void ExerciseScreen::showGraph() {
  View& graph = ui_.graphView;
  state_.updateGraph();
  graph.setAlpha(0);
  Application::shared().setStatusBarHidden(true, Animated::Yes);
  ui_.window.addSubview(graph);
  // The middle of the window, however tall it is.
  graph.setCenter({kGraphCenter.x, ui_.window.bounds().height / 2});
  graph.setTransform(AffineTransform::identity());
  graph.setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
  View::beginAnimations();
  View::setAnimationDuration(kGraphFadeDuration);
  graph.setAlpha(1);
  View::commitAnimations();
}

void ExerciseScreen::quickLog(const std::string& name, int fromTab) {
  state_.selection().selectedExercise = name;
  state_.createPreviousDates();
  const bool aerobic = isAerobicExercise(name);
  View& pane = aerobic ? ui_.kinetraAerobicsView : ui_.kinetraLogView;
  putHeader(pane);
  state_.selection().lastTabIndex = fromTab;
  show();

  ui_.kinetraHelpView.removeFromSuperview();
  ui_.logsScrollView.removeFromSuperview();
  if (aerobic) {
    const AerobicKind* kind = AerobicKind::named(name);
    ui_.aerobicsLogImage.setImage(
        kind != nullptr ? Image::resource(state_.bundle(), kind->logPicture, "png") : Image());
    ui_.aerobicsLabel.setText(name);
  } else {
    ui_.logExerciseLabel.setText(name);
  }
  pane.setFrame(paneFrame());
  ui_.kinetraTabView.addSubview(pane);
  (aerobic ? ui_.aerobicsTableView : ui_.logTableView).reloadData();

  flags_.flipEnabled = false;
  ui_.velomarNavigationTitle.setLeftBarButtonItem(&ui_.logDoneButton);
  ui_.velomarNavigationTitle.setRightBarButtonItem(&ui_.logEditButton);
  ui_.velomarNavigationTitle.setTitle(kLogEntryTitle);
  if (aerobic) {
    AerobicEntryPane entry(ui_, state_.loggingState());
    entry.nameFields(name);
    entry.fillFields();
  } else {
    StrengthEntryPane(ui_, state_.loggingState()).fillFields();
  }
}

}  // namespace kinetra
