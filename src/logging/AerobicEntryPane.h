#pragma once

#include <string_view>

#include "foundation/PropertyList.h"
#include "logging/LoggingState.h"

namespace kinetra {

struct EntryPaneViews;

// The aerobic entry pane (`kinetraAerobicsView`): the four value fields `aerobicsField1` to
// `aerobicsField4`, the note `aerobicsField5` and today's table `aerobicsTableView`. Keeps no
// state: it works on the views and the state it is made with, which must outlive it.
class AerobicEntryPane {
 public:
  AerobicEntryPane(EntryPaneViews& views, LoggingState state) : views_(views), state_(state) {}

  // Before the pane is shown, with `previousDates` built for the selected exercise: the table
  // out of editing mode and reloaded, the fields emptied, then the four values of the first
  // set of the latest day the selected exercise was logged.
  void prepare();
  // The fields alone: emptied, then the four values of the latest logged day's first set.
  void fillFields();
  // The fields emptied, then the four values of the first set of `entry` (none: left empty).
  void fillFieldsFrom(const PropertyList::Array* entry);
  // The four value fields say, while empty, which value of `exercise`'s kind each holds (the
  // labels of its log rows); nothing for a name of no aerobic kind.
  void nameFields(std::string_view exercise);
  // addAerobics: nothing at all when the five fields are empty; otherwise the fields give up
  // the keyboard, their five texts go to today's entry of the selected exercise, the aerobic
  // log is written whole and the table is reloaded.
  void addSet();

 private:
  EntryPaneViews& views_;
  LoggingState state_;
};

}  // namespace kinetra
