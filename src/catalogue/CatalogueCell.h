#pragma once

#include <memory>

#include "foundation/PropertyList.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

namespace kinetra {

class ExercisePictures;

// The rows of the catalogue's tables, all under the reuse identifier "mine".
class CatalogueCell {
 public:
  static constexpr const char* kReuseIdentifier = "mine";

  // A cell from the table's reuse queue, or a new one. A reused cell keeps what its last row
  // set; callers set text, font, picture and accessory every time.
  static std::unique_ptr<TableViewCell> reuse(TableView& tableView);

  // A row showing an exercise record: its name in the default font and its thumbnail.
  static std::unique_ptr<TableViewCell> forRecord(TableView& tableView, const PropertyList& record,
                                                  const ExercisePictures& pictures);
};

}  // namespace kinetra
