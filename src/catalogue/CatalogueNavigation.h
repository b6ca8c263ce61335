#pragma once

#include <string>

#include "foundation/PropertyList.h"

namespace kinetra {

// What the catalogue's lists ask of the screens around them: opening an exercise on the
// exercise screen, and pushing the catalogue tab's other screens. The application implements
// it; the lists change the selection and the flags themselves before they ask.
class CatalogueNavigation {
 public:
  // Where an exercise is opened from: the complete list also brings its picture to the front of
  // the card.
  enum class From { kList, kCompleteList };

  virtual ~CatalogueNavigation() = default;

  // Opens `record` on the exercise screen and remembers the catalogue tab as the way back.
  virtual void openExercise(const PropertyList& record, From from) = 0;
  // Shows the list of `targetExercises`, titled `region`, from its top.
  virtual void showRegion(const std::string& region) = 0;
  // Shows the body map, without the label an earlier touch left on it.
  virtual void showBodyMap() = 0;
  // Shows the lists of `primaryMuscle` and `additionalMuscle`, titled `muscle`, from their top.
  virtual void showMuscle(const std::string& muscle) = 0;
  // Shows the complete list from its top.
  virtual void showCompleteList() = 0;
  // Shows the list of the user's own exercises.
  virtual void showCustomExercises() = 0;
  // Shows the editor for a new exercise of the user's own.
  virtual void showNewCustomExercise() = 0;
  // Shows the photo picker for the exercise in the editor.
  virtual void showPhotoPicker() = 0;
  // The custom exercises changed: the exercise list, its index and the complete list follow.
  virtual void removeCustom() = 0;
  // The workout list shows the custom exercises' row only while there are any.
  virtual void reloadWorkoutList() = 0;
};

}  // namespace kinetra
