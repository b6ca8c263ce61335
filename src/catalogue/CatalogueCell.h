#pragma once

#include <memory>
#include <string>

#include "foundation/PropertyList.h"
#include "ui/Image.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

namespace kinetra {

class ExercisePictures;

// The rows of the catalogue's tables, all under the reuse identifier "mine".
class CatalogueCell {
 public:
  static constexpr const char* kReuseIdentifier = "mine";
  // The last row of the custom exercise editor's choosers.
  static constexpr const char* kNone = "none";

  // A cell from the table's reuse queue, or a new one. A reused cell keeps what its last row
  // set; callers set text, font, picture and accessory every time.
  static std::unique_ptr<TableViewCell> reuse(TableView& tableView);

  // A row showing an exercise record: its name in the default font and its thumbnail.
  static std::unique_ptr<TableViewCell> forRecord(TableView& tableView, const PropertyList& record,
                                                  const ExercisePictures& pictures);
  // A chooser's row: `text` in the default font with `picture` (may be empty), no accessory.
  static std::unique_ptr<TableViewCell> choiceRow(TableView& tableView, const std::string& text,
                                                  Image picture);
  // A chooser's last row: "none" in the italic system font of size 20.
  static std::unique_ptr<TableViewCell> noneRow(TableView& tableView);
};

}  // namespace kinetra
