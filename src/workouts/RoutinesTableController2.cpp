#include "workouts/RoutinesTableController2.h"

#include <utility>

#include "catalogue/ExercisePictures.h"
#include "model/EditingFlags.h"
#include "model/ExerciseList.h"
#include "model/ExerciseRecord.h"
#include "model/Selection.h"
#include "ui/Button.h"
#include "ui/Event.h"
#include "ui/Label.h"
#include "workouts/RoutinesTabViews.h"
#include "workouts/WorkoutsNavigation.h"

namespace kinetra {

namespace {

constexpr const char* kDescriptionIdentifier = "info";
constexpr const char* kExerciseIdentifier = "normal";
constexpr Rect kDescriptionFrame{5, 0, 285, 100};
constexpr Rect kInstructionFrame{55, 40, 320, 18};

std::string groupKey(int section) { return "section" + std::to_string(section); }

Label& cellLabel(TableViewCell& cell, Rect frame, double fontSize) {
  for (View* view : cell.contentView().subviews()) {
    if (view->tag() == RoutinesTableController2::kLabelTag) {
      if (auto* label = dynamic_cast<Label*>(view)) return *label;
    }
  }
  auto label = std::make_unique<Label>(frame);
  label->setTag(RoutinesTableController2::kLabelTag);
  label->setFont(fontWithSize(label->font(), fontSize));
  label->setNumberOfLines(0);
  label->setBackgroundColor(Color::clearColor());
  Label& added = cell.contentView().addSubview(std::move(label));
  cell.contentView().bringSubviewToFront(added);
  return added;
}

}  // namespace

RoutinesTableController2::RoutinesTableController2(RoutinesTabViews& views, WorkoutsState state)
    : views_(views), state_(state) {
  setTitle("Routine");
}

int RoutinesTableController2::countKeys(const PropertyList& routine, const std::string& prefix,
                                        const std::string& suffix) {
  if (!routine.isDictionary()) return 0;
  int count = 0;
  for (int i = 1; i <= kLastNumber; ++i) {
    if (routine.find(prefix + std::to_string(i) + suffix) != nullptr) ++count;
  }
  return count;
}

std::string RoutinesTableController2::value(const std::string& key) const {
  const PropertyList& routine = state_.selection.selectedRoutine;
  return routine.isDictionary() ? std::string(recordString(routine, key).value_or(""))
                                : std::string();
}

std::string RoutinesTableController2::exerciseOn(IndexPath indexPath) const {
  return value(groupKey(indexPath.section) + "exercise" + std::to_string(indexPath.row + 1));
}

int RoutinesTableController2::numberOfSectionsInTableView(TableView&) {
  return 1 + countKeys(state_.selection.selectedRoutine, "section");
}

int RoutinesTableController2::numberOfRowsInSection(TableView&, int section) {
  if (section == 0) return 1;
  return countKeys(state_.selection.selectedRoutine, groupKey(section) + "exercise");
}

std::optional<std::string> RoutinesTableController2::titleForHeaderInSection(TableView&,
                                                                             int section) {
  if (section == 0) return "Description";
  const PropertyList& routine = state_.selection.selectedRoutine;
  const std::optional<std::string_view> title =
      routine.isDictionary() ? recordString(routine, groupKey(section)) : std::nullopt;
  return title ? std::optional<std::string>(std::string(*title)) : std::nullopt;
}

std::optional<double> RoutinesTableController2::heightForRowAtIndexPath(TableView&,
                                                                        IndexPath indexPath) {
  return indexPath.section == 0 ? 100 : 60;
}

std::unique_ptr<TableViewCell> RoutinesTableController2::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  return indexPath.section == 0 ? descriptionCell(tableView) : exerciseCell(tableView, indexPath);
}

std::unique_ptr<TableViewCell> RoutinesTableController2::descriptionCell(TableView& tableView) {
  std::unique_ptr<TableViewCell> cell =
      tableView.dequeueReusableCellWithIdentifier(kDescriptionIdentifier);
  if (cell == nullptr) {
    cell = std::make_unique<TableViewCell>(Rect{}, kDescriptionIdentifier);
    cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  }
  cellLabel(*cell, kDescriptionFrame, 15).setText(value("fulldescription"));
  return cell;
}

std::unique_ptr<TableViewCell> RoutinesTableController2::exerciseCell(TableView& tableView,
                                                                      IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell =
      tableView.dequeueReusableCellWithIdentifier(kExerciseIdentifier);
  if (cell == nullptr) {
    cell = std::make_unique<TableViewCell>(Rect{}, kExerciseIdentifier);
    cell->setText(" ");
  }
  const std::string name = exerciseOn(indexPath);
  cell->setText(name);
  // The bundle's thumbnail of the last record of that name.
  Image thumbnail;
  for (const ExerciseRecord& record : state_.exerciseList.exercises) {
    if (record == nullptr || recordString(*record, "name") != name) continue;
    thumbnail = state_.pictures.bundlePicture(
        std::string(recordString(*record, "image").value_or("")) + "_t.jpg");
  }
  cell->setImage(thumbnail);
  cellLabel(*cell, kInstructionFrame, 12)
      .setText(value(groupKey(indexPath.section) + "set" + std::to_string(indexPath.row + 1)));

  const Image log = state_.pictures.bundlePicture("log_t.jpg");
  auto button = Button::pictureButton(log);
  button->addTarget([this](Control& sender, const Event& event) { ButtonTapped2(sender, event); },
                    ControlEvent::kTouchUpInside);
  cell->setAccessoryView(std::move(button));
  return cell;
}

void RoutinesTableController2::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  state_.flags.useLogScroll = false;
  if (indexPath.section == 0) {
    TextView& text = views_.RoutineText;
    text.setFont(fontWithSize(text.font(), 15));
    text.setText(value("fulldescription"));
    views_.routineNavigationController.pushViewController(views_.RoutineTextView, Animated::Yes);
    return;
  }
  state_.navigation.openRoutineExercise(exerciseOn(indexPath));
}

void RoutinesTableController2::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                        IndexPath indexPath) {
  if (indexPath.section == 0) {
    selectAndChooseRow(tableView, indexPath);
    return;
  }
  state_.navigation.quickLogRoutineExercise(exerciseOn(indexPath));
}

void RoutinesTableController2::ButtonTapped2(Control&, const Event& event) {
  TableView& table = tableView();
  const std::optional<IndexPath> row = table.indexPathForRowOfEvent(event);
  if (row) accessoryButtonTappedForRowWithIndexPath(table, *row);
}

}  // namespace kinetra
