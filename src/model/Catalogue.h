#pragma once

#include <string>
#include <vector>

#include "foundation/PropertyList.h"
#include "model/ExerciseRecord.h"

namespace kinetra {

class ResourceBundle;

// What the bundle's catalogue gives the screens: read once at start-up, constant afterwards.
struct Catalogue {
  // The catalogue's own exercise records, in file order.
  ExerciseRecords catalogueExercises;
  // The regions of the regions menu, in menu order.
  std::vector<std::string> targets;
  // The muscle names of the body map, one group per region.
  std::vector<std::vector<std::string>> muscles;
  // The ready-made routines, in the shape of their resource.
  PropertyList::Array routines;
  // The log tab's period rows.
  std::vector<std::string> logDates;

  // The catalogue of `bundle`; what a resource lacks is left empty (see CatalogueResources).
  static Catalogue load(const ResourceBundle& bundle);
};

}  // namespace kinetra
