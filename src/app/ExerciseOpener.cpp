#include "catalogue/ExerciseOpener.h"

#include <string>

#include "app/VelomarAppDelegate.h"
#include "catalogue/ExercisePictures.h"

namespace kinetra {

namespace {

constexpr int kCatalogueTab = 1;

void leaveStartUpLogo(VelomarAppDelegate& app, MainInterface& ui) {
  if (app.doneLogo()) return;
  app.setDoneLogo(true);
  app.setBackViewIsVisible(false);
  ui.kinetraHelpView.removeFromSuperview();
  ui.kinetraTabView.addSubview(ui.velomarTabImage);
}

}  // namespace

void ExerciseOpener::open(VelomarAppDelegate& app, const PropertyList& record, From from) {
  MainInterface& ui = app.interface();
  app.setUseLogScroll(false);
  leaveStartUpLogo(app, ui);

  const ExercisePictures pictures(app.bundle(), app.userFiles().documents());
  ui.velomarTabImage.setImage(pictures.fullPicture(record));
  app.setSelectedExercise(std::string(recordString(record, "name").value_or("")));
  if (ui.velomarTabText != nullptr) {
    ui.velomarTabText->setText(std::string(recordString(record, "description").value_or("")));
  }
  app.updateMuscleText();
  ui.velomarNavigationTitle.setLeftBarButtonItem(&ui.velomarBackButton);
  ui.velomarNavigationTitle.setRightBarButtonItem(ui.segmentBarItem.get());
  app.setLastTabIndex(kCatalogueTab);
  if (from == From::kCompleteList) ui.kinetraTabView.addSubview(ui.velomarTabImage);

  app.velomarTabSelect();
}

}  // namespace kinetra
