#include "catalogue/CatalogueCell.h"

#include <string>
#include <utility>

#include "catalogue/ExercisePictures.h"
#include "model/ExerciseRecord.h"
#include "ui/Font.h"
#include "ui/Label.h"

namespace kinetra {

namespace {

constexpr double kNoneFontSize = 20;

}  // namespace

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

std::unique_ptr<TableViewCell> CatalogueCell::choiceRow(TableView& tableView,
                                                        const std::string& text, Image picture) {
  std::unique_ptr<TableViewCell> cell = reuse(tableView);
  cell->setAccessoryType(TableViewCellAccessoryType::kNone);
  cell->setFont(Label().font());
  cell->setText(text);
  cell->setImage(std::move(picture));
  return cell;
}

std::unique_ptr<TableViewCell> CatalogueCell::noneRow(TableView& tableView) {
  std::unique_ptr<TableViewCell> cell = choiceRow(tableView, kNone, {});
  cell->setFont(Font::italicSystemFontOfSize(kNoneFontSize));
  return cell;
}

}  // namespace kinetra
