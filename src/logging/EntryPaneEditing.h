#pragma once

#include "logging/LoggingState.h"

namespace kinetra {

class NavigationItem;
struct EntryPaneViews;

// logEdit: the edit button of the entry pane on show (the aerobic one for the nine aerobic
// exercises). Entering editing mode shows "Done" and takes the leave button away so the pane
// cannot be left while editing; leaving it shows "Edit" and puts the leave button back. Either
// way the pane's fields give up the keyboard and `logEditing` flips.
class EntryPaneEditing {
 public:
  // `bar`: the navigation item of the screen the panes are shown on.
  EntryPaneEditing(EntryPaneViews& views, NavigationItem& bar, LoggingState state)
      : views_(views), bar_(bar), state_(state) {}

  void toggle();

 private:
  EntryPaneViews& views_;
  NavigationItem& bar_;
  LoggingState state_;
};

}  // namespace kinetra
