#include "catalogue/CustomExerciseViews.h"

#include <algorithm>
#include <utility>

#include "catalogue/CatalogueNavigation.h"
#include "foundation/DiagnosticLog.h"
#include "model/CustomExerciseName.h"
#include "model/EditingFlags.h"
#include "model/ExerciseList.h"
#include "model/UserData.h"

namespace kinetra {

namespace {

constexpr std::string_view kNoPicture = "custom";
constexpr std::string_view kNothingChosen = "none";
constexpr std::string_view kNoSecondMuscle = "n/a";
// The frames of the two text views inside their rows.
constexpr Rect kNameFrame{8, 1, 284, 32};
constexpr Rect kDescriptionFrame{8, 1, 284, 53};

// The file names of a custom exercise's pictures.
std::string pictureFile(const std::string& name) { return name + ".jpg"; }
std::string thumbnailFile(const std::string& name) { return name + "_t.jpg"; }

std::string_view asText(const Image& picture) {
  const std::vector<std::uint8_t>& bytes = picture.bytes();
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

CustomExerciseViews::CustomExerciseViews(CatalogueState state, UserData& userData,
                                         NavigationController& navigation, DiagnosticLog& log)
    : customExercisesTableView(*this, state),
      customExercisesNavigationTitle(customExercisesTableView.navigationItem()),
      addExercisesTableView(*this, state),
      addExercisesNavigationTitle(addExercisesTableView.navigationItem()),
      addExerciseButton("Save", BarButtonItemStyle::kDone, {}),
      customTargetTableView(*this, state),
      customMuscleTableView(*this, state),
      customDifficultyTableView(*this, state),
      customName(kNameFrame),
      CustomDescription(kDescriptionFrame),
      state_(state),
      userData_(userData),
      navigation_(navigation),
      log_(log) {
  addExercisesNavigationTitle.setRightBarButtonItem(&addExerciseButton);
  customName.setDelegate(&addExercisesTableView);
  CustomDescription.setDelegate(&addExercisesTableView);
}

void CustomExerciseViews::customExercisesAction(int segment) {
  if (segment == kDeleteSegment) {
    const bool editing = state_.flags.customEditing;
    customExercisesTableView.tableView().setEditing(!editing, Animated::Yes);
    if (customSegmentedControl) customSegmentedControl->setTitle(editing ? "Del" : "Done", 1);
    state_.flags.customEditing = !editing;
    return;
  }
  if (segment == kAddSegment) {
    state_.flags.selectedCustomImage = false;
    openNewExercise();
  }
}

void CustomExerciseViews::startDraft() { draft = CustomExerciseDraft(); }

void CustomExerciseViews::openNewExercise() {
  startDraft();
  customName.setText("");
  customName.setEditable(true);
  state_.flags.editingCustomExercise = false;
  CustomDescription.setText("");
  addExercisesNavigationTitle.setTitle("Add Exercise");
  addExercisesTableView.tableView().reloadData();
  navigation_.pushViewController(addExercisesTableView, Animated::Yes);
  customName.resignFirstResponder();
  CustomDescription.resignFirstResponder();
}

void CustomExerciseViews::openExercise(int row) {
  const ExerciseRecord record = recordAtRow(&state_.customExercises, row);
  if (record == nullptr) return;
  startDraft();
  const std::string name(recordString(*record, "name").value_or(""));
  customName.setText(name);
  CustomDescription.setText(std::string(recordString(*record, "description").value_or("")));
  state_.flags.selectedCustomImage =
      recordString(*record, "image").value_or(kNoPicture) != kNoPicture;
  customName.setEditable(false);
  addExercisesNavigationTitle.setTitle("Edit Exercise");
  state_.flags.editingCustomExercise = true;
  // The choice rows start from the record the editor changes, as saving finds it.
  if (const ExerciseRecord edited = recordNamed(state_.exerciseList.exercises, name)) {
    const std::string_view keys[] = {"target1", "muscle1", "difficulty"};
    for (int choice = 0; choice < CustomExerciseDraft::kChoices; ++choice) {
      if (auto value = recordString(*edited, keys[choice])) {
        draft.choices[static_cast<std::size_t>(choice)] = std::string(*value);
      }
    }
  }
  addExercisesTableView.tableView().reloadData();
  navigation_.pushViewController(addExercisesTableView, Animated::Yes);
}

void CustomExerciseViews::deleteExercise(int row) {
  ExerciseRecords& records = userData_.customExercises;
  if (row < 0 || row >= static_cast<int>(records.size())) return;
  state_.navigation.reloadWorkoutList();
  records.erase(records.begin() + row);
  TableView& list = customExercisesTableView.tableView();
  list.beginUpdates();
  list.deleteRowsAtIndexPaths({IndexPath{0, row}}, TableViewRowAnimation::kTop);
  list.endUpdates();
  static_cast<void>(userData_.saveCustomExercises());
  state_.navigation.removeCustom();
}

bool CustomExerciseViews::isTaken(const std::string& name) const {
  return std::any_of(state_.customExercises.begin(), state_.customExercises.end(),
                     [&](const ExerciseRecord& record) {
                       return record != nullptr && recordString(*record, "name") == name;
                     });
}

ExerciseRecord CustomExerciseViews::recordBeingEdited() {
  const std::optional<IndexPath> row =
      customExercisesTableView.tableView().indexPathForSelectedRow();
  const ExerciseRecord listed =
      row ? recordAtRow(&state_.customExercises, row->row) : ExerciseRecord();
  if (listed == nullptr) return nullptr;
  return recordNamed(state_.exerciseList.exercises, recordString(*listed, "name").value_or(""));
}

void CustomExerciseViews::addExercise() {
  const std::string name = customName.text();
  const bool editing = state_.flags.editingCustomExercise;
  ExerciseRecord record =
      editing ? recordBeingEdited() : std::make_shared<PropertyList>(PropertyList::Dictionary{});
  if (!editing) {
    // An empty or taken name is refused silently; one that cannot name the exercise's picture
    // files is refused the same way, with a line for whoever reads the log.
    const std::string unsafe = CustomExerciseName::problem(name);
    if (!unsafe.empty()) log_.line("the exercise name was refused: " + unsafe);
    if (name.empty() || isTaken(name) || !unsafe.empty()) {
      customName.setText("");
      return;
    }
  }
  if (record == nullptr) {
    log_.line("the exercise being edited is no longer in the list; nothing was saved");
    return;
  }
  keepPictures(name);
  fillRecord(*record, name);
  if (!editing) userData_.customExercises.push_back(record);
  customExercisesTableView.tableView().reloadData();
  static_cast<void>(userData_.saveCustomExercises());
  state_.navigation.removeCustom();
  closeEditorAfterSave();
}

void CustomExerciseViews::keepPictures(const std::string& name) {
  // Only a photo picked in this editor is written: another exercise's pick never lands here.
  if (!draft.hasPickedPhoto()) return;
  if (!CustomExerciseName::problem(name).empty()) return;
  // Written by the save of the custom exercises that follows, before the record naming them.
  userData_.keepPicture(pictureFile(name), asText(draft.customImage));
  userData_.keepPicture(thumbnailFile(name), asText(draft.customImage_t));
}

void CustomExerciseViews::fillRecord(PropertyList& record, const std::string& name) const {
  if (!record.isDictionary()) record = PropertyList::Dictionary{};
  PropertyList::Dictionary& fields = record.asDictionary();
  const auto choice = [&](CustomExerciseDraft::Choice which) {
    const std::optional<std::string>& value = draft.choices[which];
    return PropertyList(value ? *value : std::string(kNothingChosen));
  };
  fields["name"] = PropertyList(name);
  fields["image"] = PropertyList(state_.flags.selectedCustomImage ? name : std::string(kNoPicture));
  fields["description"] = PropertyList(CustomDescription.text());
  fields["target1"] = choice(CustomExerciseDraft::kRegion);
  fields["muscle1"] = choice(CustomExerciseDraft::kMuscle);
  fields["muscle2"] = PropertyList(std::string(kNoSecondMuscle));
  fields["difficulty"] = choice(CustomExerciseDraft::kDifficulty);
}

void CustomExerciseViews::closeEditorAfterSave() {
  const std::vector<ViewController*> stack = navigation_.viewControllers();
  const bool listBelow =
      std::find(stack.begin(), stack.end(), &customExercisesTableView) != stack.end();
  // The first exercise: the editor came straight from the regions menu, so the list takes its
  // place. When the list is below already, closing the editor is enough.
  if (userData_.customExercises.size() == 1 && !listBelow) {
    navigation_.popViewControllerAnimated(Animated::No);
    navigation_.pushViewController(customExercisesTableView, Animated::Yes);
    return;
  }
  navigation_.popViewControllerAnimated(Animated::Yes);
}

void CustomExerciseViews::choose(std::string value) {
  const std::optional<IndexPath> row = addExercisesTableView.tableView().indexPathForSelectedRow();
  if (row && row->section == AddExerciseController::kDetailsSection) {
    const int choice = row->row - AddExerciseController::kFirstChoiceRow;
    if (choice >= 0 && choice < CustomExerciseDraft::kChoices) {
      draft.choices[static_cast<std::size_t>(choice)] = value;
      if (TableViewCell* cell = addExercisesTableView.tableView().cellForRowAtIndexPath(*row)) {
        cell->setText(std::move(value));
      }
    }
  }
  navigation_.popViewControllerAnimated(Animated::Yes);
}

void CustomExerciseViews::photoPicked(Image picture, Image thumbnail) {
  state_.flags.selectedCustomImage = true;
  draft.customImage = std::move(picture);
  draft.customImage_t = std::move(thumbnail);
  addExercisesTableView.tableView().reloadData();
}

}  // namespace kinetra
