#include "model/Catalogue.h"

#include "model/CatalogueResources.h"

namespace kinetra {

Catalogue Catalogue::load(const ResourceBundle& bundle) {
  Catalogue catalogue;
  catalogue.catalogueExercises = CatalogueResources::exercises(bundle);
  catalogue.targets = CatalogueResources::strings(bundle, "Targets");
  catalogue.muscles = CatalogueResources::muscles(bundle);
  catalogue.logDates = CatalogueResources::strings(bundle, "LogDates");
  catalogue.routines = CatalogueResources::routines(bundle);
  return catalogue;
}

}  // namespace kinetra
