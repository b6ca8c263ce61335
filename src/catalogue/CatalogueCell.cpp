#include "catalogue/CatalogueCell.h"

#include <string>

#include "catalogue/ExercisePictures.h"
#include "model/ExerciseRecord.h"
#include "ui/Label.h"

namespace kinetra {

std::unique_ptr<TableViewCell> CatalogueCell::reuse(TableView& tableView) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  return cell;
}

std::unique_ptr<TableViewCell> CatalogueCell::forRecord(TableView& tableView,
                                                        const PropertyList& record,
                                                        const ExercisePictures& pictures) {
  std::unique_ptr<TableViewCell> cell = reuse(tableView);
  cell->setText(std::string(recordString(record, "name").value_or("")));
  cell->setImage(pictures.thumbnail(record));
  return cell;
}

}  // namespace kinetra
