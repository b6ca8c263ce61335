#include "app/ExerciseOpener.h"

#include <string>

#include "app/VelomarAppDelegate.h"
#include "catalogue/ExercisePictures.h"

namespace kinetra {

namespace {

constexpr int kCatalogueTab = 1;
constexpr int kWorkoutsTab = 2;
constexpr int kRoutinesTab = 3;

void leaveStartUpLogo(EditingFlags& flags, MainInterface& ui) {
  if (flags.doneLogo) return;
  flags.doneLogo = true;
  flags.backViewIsVisible = false;
  ui.kinetraHelpView.removeFromSuperview();
  ui.kinetraTabView.addSubview(ui.velomarTabImage);
}

}  // namespace

void ExerciseOpener::open(VelomarAppDelegate& app, const PropertyList& record,
                          CatalogueNavigation::From from) {
  MainInterface& ui = app.interface();
  app.flags().useLogScroll = false;
  leaveStartUpLogo(app.flags(), ui);

  ui.velomarTabImage.setImage(app.pictures().fullPicture(record));
  app.selection().selectedExercise = std::string(recordString(record, "name").value_or(""));
  if (ui.velomarTabText != nullptr) {
    ui.velomarTabText->setText(std::string(recordString(record, "description").value_or("")));
  }
  app.updateMuscleText();
  ui.velomarNavigationTitle.setLeftBarButtonItem(&ui.velomarBackButton);
  ui.velomarNavigationTitle.setRightBarButtonItem(ui.segmentBarItem.get());
  app.selection().lastTabIndex = kCatalogueTab;
  if (from == CatalogueNavigation::From::kCompleteList)
    ui.kinetraTabView.addSubview(ui.velomarTabImage);

  app.velomarTabSelect();
}

void ExerciseOpener::openFromWorkout(VelomarAppDelegate& app, const std::string& name) {
  MainInterface& ui = app.interface();
  leaveStartUpLogo(app.flags(), ui);
  for (const ExerciseRecord& record : app.exerciseList().exercises) {
    if (record == nullptr || recordString(*record, "name") != name) continue;
    app.selection().selectedExercise = name;
    ui.velomarTabImage.setImage(app.pictures().fullPicture(*record));
    if (ui.velomarTabText != nullptr) {
      ui.velomarTabText->setText(std::string(recordString(*record, "description").value_or("")));
    }
  }
  ui.velomarNavigationTitle.setLeftBarButtonItem(&ui.velomarBackButton);
  ui.velomarNavigationTitle.setRightBarButtonItem(ui.segmentBarItem.get());
  app.selection().lastTabIndex = kWorkoutsTab;
  app.updateMuscleText();
  // The exercise screen's log segment shows the workout's paging panels.
  app.flags().useLogScroll = true;
  app.velomarTabSelect();
}

void ExerciseOpener::openFromRoutine(VelomarAppDelegate& app, const std::string& name) {
  MainInterface& ui = app.interface();
  app.flags().useLogScroll = false;
  leaveStartUpLogo(app.flags(), ui);
  for (const ExerciseRecord& record : app.exerciseList().exercises) {
    if (record == nullptr || recordString(*record, "name") != name) continue;
    app.selection().selectedExercise = name;
    ui.velomarTabImage.setImage(app.pictures().bundlePicture(
        std::string(recordString(*record, "image").value_or("")) + ".jpg"));
    if (ui.velomarTabText != nullptr) {
      ui.velomarTabText->setText(std::string(recordString(*record, "description").value_or("")));
    }
  }
  app.updateMuscleText();
  ui.velomarNavigationTitle.setLeftBarButtonItem(&ui.velomarBackButton);
  ui.velomarNavigationTitle.setRightBarButtonItem(ui.segmentBarItem.get());
  app.selection().lastTabIndex = kRoutinesTab;
  app.velomarTabSelect();
}

}  // namespace kinetra
