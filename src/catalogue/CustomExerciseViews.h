#pragma once

#include <memory>
#include <string>

#include "catalogue/AddExerciseController.h"
#include "catalogue/CatalogueState.h"
#include "catalogue/CustomDifficultyController.h"
#include "catalogue/CustomExerciseDraft.h"
#include "catalogue/CustomExercisesController.h"
#include "catalogue/CustomMuscleController.h"
#include "catalogue/CustomTargetController.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TextView.h"

namespace kinetra {

class DiagnosticLog;
class UserData;

// The user's own exercises on the catalogue tab: their list with its "Add"/"Del" control (made
// at start-up; its action is customExercisesAction), the editor with its Save button, the
// three choosers of region, muscle and skill level, and the editor's two text views. The list
// is written to the custom exercises file at once after every saved edit and every deletion;
// the exercise list and its index follow through the navigation's removeCustom.
//
// `navigation` is the catalogue tab's; it and the state must outlive this object.
struct CustomExerciseViews {
  static constexpr int kAddSegment = 0;
  static constexpr int kDeleteSegment = 1;

  CustomExerciseViews(CatalogueState state, UserData& userData, NavigationController& navigation,
                      DiagnosticLog& log);
  CustomExerciseViews(const CustomExerciseViews&) = delete;
  CustomExerciseViews& operator=(const CustomExerciseViews&) = delete;

  CustomExercisesController customExercisesTableView;
  NavigationItem& customExercisesNavigationTitle;
  std::unique_ptr<SegmentedControl> customSegmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> customExercisesButton;      // holds customSegmentedControl
  AddExerciseController addExercisesTableView;
  NavigationItem& addExercisesNavigationTitle;
  BarButtonItem addExerciseButton;  // its action (addExercise:) is set at start-up
  CustomTargetController customTargetTableView;
  CustomMuscleController customMuscleTableView;
  CustomDifficultyController customDifficultyTableView;
  TextView customName;
  TextView CustomDescription;
  CustomExerciseDraft draft;

  NavigationController& navigation() { return navigation_; }

  // The list's control: "Add" opens the editor for a new exercise, "Del" switches the list's
  // editing mode (its title then reads "Done").
  void customExercisesAction(int segment);
  // The editor, empty, for a new exercise, pushed onto the tab.
  void openNewExercise();
  // The editor on the custom exercise at `row` of the list.
  void openExercise(int row);
  // Deletes the custom exercise at `row`: the file is written at once. Its pictures, log
  // entries and places in workouts stay.
  void deleteExercise(int row);
  // The editor's Save button (addExercise:).
  void addExercise();
  // A chooser's row was chosen: its text goes to the editor row that opened the chooser.
  void choose(std::string value);
  // The photo picker's outcome, both pictures drawn at their sizes already.
  void photoPicked(Image picture, Image thumbnail);

 private:
  // True when one of the user's exercises has `name`.
  bool isTaken(const std::string& name) const;
  // The record the editor changes: the last one of `exercises` named as the list's selected row.
  ExerciseRecord recordBeingEdited();
  void fillRecord(PropertyList& record, const std::string& name) const;
  void keepPictures(const std::string& name);
  void closeEditorAfterSave();
  void startDraft();

  CatalogueState state_;
  UserData& userData_;
  NavigationController& navigation_;
  DiagnosticLog& log_;
};

}  // namespace kinetra
