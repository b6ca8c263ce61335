#include "logging/ExerciseLogTableController.h"

#include <algorithm>
#include <utility>

#include "catalogue/CaseInsensitiveOrder.h"
#include "catalogue/ExercisePictures.h"
#include "logging/DayRecords.h"
#include "model/ExerciseList.h"
#include "model/LogEntry.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

namespace kinetra {

namespace {

constexpr Point kPictureCenter{30, 29};
constexpr Point kNameCenter{183, 29};
constexpr Rect kNameFrame{0, 0, 250, 30};

std::vector<std::string> sortedNames(const PropertyList& log, std::string_view day) {
  std::vector<std::string> names = LogEntry::exercisesOn(log, day);
  std::stable_sort(names.begin(), names.end(), CaseInsensitiveOrder::less);
  return names;
}

}  // namespace

ExerciseLogTableController::ExerciseLogTableController(HistoryState state) : state_(state) {
  setTitle("Today's Log");
}

std::vector<ExerciseLogTableController::Section> ExerciseLogTableController::sections() const {
  std::vector<Section> result;
  const std::optional<std::string>& day = state_.selection.selectedDate;
  if (!day) return result;
  for (std::string& name : sortedNames(state_.userData.aerobicsLog, *day)) {
    result.push_back({std::move(name), true});
  }
  for (std::string& name : sortedNames(state_.userData.exerciseLog, *day)) {
    result.push_back({std::move(name), false});
  }
  return result;
}

std::optional<ExerciseLogTableController::Section> ExerciseLogTableController::section(
    int index) const {
  std::vector<Section> all = sections();
  if (index < 0 || static_cast<std::size_t>(index) >= all.size()) return std::nullopt;
  return std::move(all[static_cast<std::size_t>(index)]);
}

int ExerciseLogTableController::numberOfSectionsInTableView(TableView&) {
  return std::max(1, static_cast<int>(sections().size()));
}

int ExerciseLogTableController::numberOfRowsInSection(TableView&, int index) {
  const std::optional<Section> shown = section(index);
  if (!shown) return 0;
  return DayRecords(state_.userData, *state_.selection.selectedDate, shown->exercise,
                    shown->aerobic)
      .numberOfSets();
}

std::unique_ptr<TableViewCell> ExerciseLogTableController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  const std::optional<Section> shown = section(indexPath.section);
  const std::string day = state_.selection.selectedDate.value_or("");
  return DayRecords(state_.userData, day, shown ? shown->exercise : std::string(),
                    shown && shown->aerobic)
      .cell(tableView, shown ? indexPath.row : -1, kNoteFrame);
}

std::unique_ptr<View> ExerciseLogTableController::viewForHeaderInSection(TableView&, int index) {
  const std::optional<Section> shown = section(index);
  const std::string name = shown ? shown->exercise : std::string();
  auto header = std::make_unique<View>(Rect{0, 0, 320, kHeaderHeight});
  header->setAutoresizesSubviews(false);
  if (!name.empty()) {
    for (const ExerciseRecord& record : state_.exerciseList.exercises) {
      if (record == nullptr || recordString(*record, "name") != name) continue;
      auto background = std::make_unique<ImageView>(state_.pictures.namedPicture("background"));
      auto thumbnail = std::make_unique<ImageView>(state_.pictures.thumbnail(*record));
      for (ImageView* view : {background.get(), thumbnail.get()}) view->setCenter(kPictureCenter);
      header->addSubview(std::move(background));
      header->addSubview(std::move(thumbnail));
    }
  }
  auto label = std::make_unique<Label>(kNameFrame);
  label->setBackgroundColor(Color::clearColor());
  label->setText(name);
  label->setCenter(kNameCenter);
  header->addSubview(std::move(label));
  return header;
}

}  // namespace kinetra
