#pragma once

#include "foundation/PropertyList.h"
#include "logging/LoggingState.h"

namespace kinetra {

struct EntryPaneViews;

// The strength entry pane (`kinetraLogView`): its fields `weight`, `weightDecimal`, `reps`,
// `note`, the unit control `weightType` (segment 1 is "kg") and today's table `logTableView`.
// Keeps no state: it works on the views and the state it is made with, which must outlive it.
class StrengthEntryPane {
 public:
  StrengthEntryPane(EntryPaneViews& views, LoggingState state) : views_(views), state_(state) {}

  // Before the pane is shown, with `previousDates` built for the selected exercise: the table
  // out of editing mode and reloaded, "Edit" on the edit button, the fields reset, then filled
  // from the first set of the latest day the selected exercise was logged (never the note).
  void prepare();
  // The fields alone: reset, then filled from the first set of the latest logged day.
  void fillFields();
  // The fields reset, then filled from the first set of `entry` (none: left reset).
  void fillFieldsFrom(const PropertyList::Array* entry);
  // addLog: an empty weight or repetitions field becomes "0"; the fields give up the
  // keyboard; the set's three strings go to today's entry of the selected exercise; the
  // strength log is written whole; the table is reloaded. The fields keep their text. True when
  // the set was logged (in memory: a failed write is reported by the save).
  bool addSet();

 private:
  EntryPaneViews& views_;
  LoggingState state_;
};

}  // namespace kinetra
