#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "foundation/PropertyList.h"
#include "ui/Geometry.h"

namespace kinetra {

class TableView;
class TableViewCell;
class UserData;

// One exercise's records on one day, as the history tables show them: from the aerobic log for
// the nine aerobic exercises, from the strength log for every other.
class DayRecords {
 public:
  DayRecords(const UserData& userData, std::string_view day, std::string exercise, bool aerobic);

  // The entry; null when the day or the exercise has none.
  const PropertyList::Array* entry() const { return entry_; }
  int numberOfSets() const;
  // The row of set `row`: today's tables' text, font and note, the note label at `noteFrame`.
  std::unique_ptr<TableViewCell> cell(TableView& table, int row, Rect noteFrame) const;

 private:
  std::string exercise_;
  bool aerobic_;
  const PropertyList::Array* entry_;
};

}  // namespace kinetra
