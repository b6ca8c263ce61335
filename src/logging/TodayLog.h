#pragma once

#include <cstddef>

#include "foundation/PropertyList.h"
#include "ui/IndexPath.h"

namespace kinetra {

class TableView;
class VelomarAppDelegate;

// The entry of the selected exercise on the current logging day, in the strength or the
// aerobic log, as today's tables read and delete it.
class TodayLog {
 public:
  enum class Kind { kStrength, kAerobic };

  TodayLog(VelomarAppDelegate& state, Kind kind) : state_(state), kind_(kind) {}

  // The shared state through the application singleton; null before it exists.
  static VelomarAppDelegate* sharedState();

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

  VelomarAppDelegate& state_;
  Kind kind_;
};

}  // namespace kinetra
