#pragma once

#include <string>
#include "catalogue/CatalogueNavigation.h"

#include "foundation/PropertyList.h"

namespace kinetra {

class VelomarAppDelegate;

// Opens an exercise record of a catalogue list on the exercise screen: takes the card off its
// start-up logo the first time, shows the record's full picture, name, description and
// muscles, puts the back button and the bar control in the exercise screen's bar, remembers
// the catalogue tab (1) as the way back, and switches to the exercise screen
// (velomarTabSelect). The complete list also brings the picture to the front of the card.
class ExerciseOpener {
 public:
  static void open(VelomarAppDelegate& app, const PropertyList& record,
                   CatalogueNavigation::From from);

  // Opens the exercise `name` of the current workout: every record of that name in turn gives
  // the selection, the full picture and the description (none leaves them as they were); the
  // workouts tab (2) is the way back.
  static void openFromWorkout(VelomarAppDelegate& app, const std::string& name);

  // Opens the exercise `name` of a routine: every record of that name in turn gives the
  // selection, the bundle's full picture and the description; the routines tab (3) is the way
  // back.
  static void openFromRoutine(VelomarAppDelegate& app, const std::string& name);
};

}  // namespace kinetra
