#include "workouts/RoutinesTableController.h"

#include <string>
#include <utility>

#include "catalogue/ExercisePictures.h"
#include "model/Catalogue.h"
#include "model/ExerciseRecord.h"
#include "model/Selection.h"
#include "ui/Label.h"
#include "workouts/RoutinesTabViews.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";
constexpr Rect kBriefFrame{70, 0, 215, 100};
constexpr double kBriefFontSize = 13;

// The brief description's label: made with a new cell, kept by a reused one.
Label& briefLabel(TableViewCell& cell) {
  for (View* view : cell.contentView().subviews()) {
    if (view->tag() == RoutinesTableController::kLabelTag) {
      if (auto* label = dynamic_cast<Label*>(view)) return *label;
    }
  }
  auto label = std::make_unique<Label>(kBriefFrame);
  label->setTag(RoutinesTableController::kLabelTag);
  label->setFont(fontWithSize(label->font(), kBriefFontSize));
  label->setNumberOfLines(0);
  label->setBackgroundColor(Color::clearColor());
  return cell.contentView().insertSubview(std::move(label), 0);
}

}  // namespace

RoutinesTableController::RoutinesTableController(RoutinesTabViews& views, WorkoutsState state)
    : views_(views), state_(state) {
  setTitle("Routines");
}

const PropertyList* RoutinesTableController::routine(int section) const {
  const PropertyList::Array& routines = state_.catalogue.routines;
  if (section < 0 || static_cast<std::size_t>(section) >= routines.size()) return nullptr;
  return &routines[static_cast<std::size_t>(section)];
}

int RoutinesTableController::numberOfSectionsInTableView(TableView&) {
  return static_cast<int>(state_.catalogue.routines.size());
}

std::optional<std::string> RoutinesTableController::titleForHeaderInSection(TableView&,
                                                                            int section) {
  const PropertyList* shown = routine(section);
  if (shown == nullptr) return std::nullopt;
  const std::optional<std::string_view> name = recordString(*shown, "name");
  return name ? std::optional<std::string>(std::string(*name)) : std::nullopt;
}

std::unique_ptr<TableViewCell> RoutinesTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                              IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  cell->setImage(state_.pictures.namedPicture("routine_t" + std::to_string(indexPath.section + 1)));
  const PropertyList* shown = routine(indexPath.section);
  briefLabel(*cell).setText(
      std::string(shown != nullptr ? recordString(*shown, "briefdescription").value_or("") : ""));
  return cell;
}

void RoutinesTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const PropertyList* chosen = routine(indexPath.section);
  if (chosen == nullptr) return;
  state_.selection.selectedRoutine = *chosen;
  TableView& screen = views_.routineTableView.tableView();
  screen.setContentOffset({0, 0}, Animated::No);
  screen.reloadData();
  views_.RoutineNavigationTitle.setTitle(std::string(recordString(*chosen, "name").value_or("")));
  views_.routineNavigationController.pushViewController(views_.routineTableView, Animated::Yes);
}

void RoutinesTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                       IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

}  // namespace kinetra
