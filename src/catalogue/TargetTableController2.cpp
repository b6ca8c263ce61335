#include "catalogue/TargetTableController2.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "app/VelomarAppDelegate.h"
#include "catalogue/CaseInsensitiveOrder.h"
#include "catalogue/CatalogueCell.h"
#include "catalogue/ExerciseOpener.h"
#include "catalogue/ExercisePictures.h"

namespace kinetra {

namespace {

std::string_view nameOf(const ExerciseRecord& record) {
  return record != nullptr ? recordString(*record, "name").value_or("") : std::string_view();
}

// The name on row `row`, when there is such a row.
std::optional<std::string> nameOnRow(const ExerciseRecords& records, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= records.size()) return std::nullopt;
  std::vector<std::string_view> names;
  names.reserve(records.size());
  for (const ExerciseRecord& record : records) names.push_back(nameOf(record));
  std::stable_sort(names.begin(), names.end(), CaseInsensitiveOrder::less);
  return std::string(names[static_cast<std::size_t>(row)]);
}

// The last record with this name.
const PropertyList* lastNamed(const ExerciseRecords& records, std::string_view name) {
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (*record != nullptr && nameOf(*record) == name) return record->get();
  }
  return nullptr;
}

}  // namespace

TargetTableController2::TargetTableController2(std::string title) { setTitle(std::move(title)); }

int TargetTableController2::numberOfRowsInSection(TableView&, int) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  return app != nullptr ? static_cast<int>(app->targetExercises().size()) : 0;
}

std::unique_ptr<TableViewCell> TargetTableController2::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = CatalogueCell::reuse(tableView);
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr) return cell;
  const ExerciseRecords& records = app->targetExercises();
  const std::optional<std::string> name = nameOnRow(records, indexPath.row);
  if (!name) return cell;
  const ExercisePictures pictures(app->bundle(), app->userFiles().documents());
  cell->setText(*name);
  const PropertyList* record = lastNamed(records, *name);
  cell->setImage(record != nullptr ? pictures.thumbnail(*record) : Image());
  return cell;
}

void TargetTableController2::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr) return;
  // Held while the exercise opens: opening may change `targetExercises`' owners.
  const ExerciseRecords records = app->targetExercises();
  const std::optional<std::string> name = nameOnRow(records, indexPath.row);
  const PropertyList* record = name ? lastNamed(records, *name) : nullptr;
  if (record != nullptr) ExerciseOpener::open(*app, *record, ExerciseOpener::From::kList);
}

}  // namespace kinetra
