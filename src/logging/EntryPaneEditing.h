#pragma once

namespace kinetra {

class VelomarAppDelegate;

// logEdit: the edit button of the entry pane on show (the aerobic one for the nine aerobic
// exercises). Entering editing mode shows "Done" and takes the leave button away so the pane
// cannot be left while editing; leaving it shows "Edit" and puts the leave button back. Either
// way the pane's fields give up the keyboard and `logEditing` flips.
class EntryPaneEditing {
 public:
  explicit EntryPaneEditing(VelomarAppDelegate& state) : state_(state) {}

  void toggle();

 private:
  VelomarAppDelegate& state_;
};

}  // namespace kinetra
