#pragma once

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
};

}  // namespace kinetra
