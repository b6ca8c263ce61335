#pragma once

#include <cstddef>

#include "foundation/PropertyList.h"
#include "ui/IndexPath.h"

namespace kinetra {

class TableView;
class UserData;
struct Selection;

// The entry of the selected exercise on the current logging day, in the strength or the
// aerobic log, as today's tables read and delete it.
class TodayLog {
 public:
  enum class Kind { kStrength, kAerobic };

  TodayLog(UserData& userData, const Selection& selection, Kind kind)
      : userData_(userData), selection_(selection), kind_(kind) {}

  // Null when the day or the exercise has no entry.
  const PropertyList::Array* entry() const;
  std::size_t stringsPerSet() const { return kind_ == Kind::kStrength ? 3 : 5; }
  int numberOfSets() const;

  // Takes the set of `indexPath`'s row out of the entry, writes the log whole, then deletes
  // the row in one update block (top animation) and reloads the table. A row that is no longer
  // in the entry only reloads the table.
  void deleteSet(TableView& table, IndexPath indexPath);

 private:
  PropertyList& log() const;

  UserData& userData_;
  const Selection& selection_;
  Kind kind_;
};

}  // namespace kinetra
