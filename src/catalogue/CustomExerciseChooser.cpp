#include "catalogue/CustomExerciseChooser.h"

#include <utility>

#include "catalogue/CustomExerciseViews.h"

namespace kinetra {

CustomExerciseChooser::CustomExerciseChooser(std::string title, CustomExerciseViews& views,
                                             CatalogueState state)
    : views_(views), state_(state) {
  setTitle(std::move(title));
}

void CustomExerciseChooser::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  views_.choose(valueAt(indexPath));
}

}  // namespace kinetra
