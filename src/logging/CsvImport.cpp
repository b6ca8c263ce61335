#include "logging/CsvImport.h"

#include <memory>
#include <string>
#include <utility>

#include "catalogue/CatalogueNavigation.h"
#include "foundation/DiagnosticLog.h"
#include "logging/LogTabViews.h"
#include "model/ExerciseList.h"
#include "model/LogImport.h"
#include "model/RecordBook.h"
#include "model/UserData.h"

namespace kinetra {

namespace {

// A custom exercise as the editor saves one with nothing chosen and no photo.
ExerciseRecord customRecord(const std::string& name) {
  return std::make_shared<PropertyList>(PropertyList::Dictionary{{"name", name},
                                                                 {"image", "custom"},
                                                                 {"description", ""},
                                                                 {"target1", "none"},
                                                                 {"muscle1", "none"},
                                                                 {"muscle2", "n/a"},
                                                                 {"difficulty", "none"}});
}

}  // namespace

void CsvImport::chooseFile() {
  NavigationController& navigation = views_.logNavigationController;
  if (navigation.topViewController() == &views_.csvPicker) return;
  navigation.pushViewController(views_.csvPicker, Animated::Yes);
}

void CsvImport::fileChosen(const std::vector<std::uint8_t>& bytes) {
  closePicker();
  UserData& data = state_.userData;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  Result<LogImport::Outcome> outcome =
      LogImport::run(text, {data.exerciseLog, data.aerobicsLog, state_.exerciseList.exercises,
                            state_.days, state_.isoDays});
  if (!outcome.ok()) {
    views_.emailLabel.setText(std::string(kRefused) + outcome.status().message());
    state_.log.line("import: the file was refused: " + outcome.status().message());
    return;
  }
  if (outcome->setsAdded == 0 && outcome->setsSkipped == 0) {
    views_.emailLabel.setText(std::string(kNoSets));
    return;
  }
  // Failed saves are reported by the store; the logs in memory keep the sets for the next one.
  addCustomExercises(outcome->newExercises);
  if (outcome->exerciseLogChanged) {
    data.exerciseLog = std::move(outcome->exerciseLog);
    state_.records.forgetAll();
    static_cast<void>(data.saveExerciseLog());
  }
  if (outcome->aerobicsLogChanged) {
    data.aerobicsLog = std::move(outcome->aerobicsLog);
    static_cast<void>(data.saveAerobicsLog());
  }
  views_.emailLabel.setText(LogImport::summary(*outcome));
}

void CsvImport::cancelled() { closePicker(); }

void CsvImport::addCustomExercises(const std::vector<std::string>& names) {
  if (names.empty()) return;
  UserData& data = state_.userData;
  for (const std::string& name : names) data.customExercises.push_back(customRecord(name));
  static_cast<void>(data.saveCustomExercises());
  state_.navigation.removeCustom();
  state_.navigation.reloadWorkoutList();
}

void CsvImport::closePicker() {
  NavigationController& navigation = views_.logNavigationController;
  if (navigation.topViewController() != &views_.csvPicker) return;
  navigation.popViewControllerAnimated(Animated::Yes);
}

}  // namespace kinetra
