#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logging/HistoryState.h"
#include "ui/TableViewController.h"

namespace kinetra {

// Every record of every exercise on `selectedDate` (the screen `exerciseLogTableView`), read
// only: one section per exercise of the day, the aerobic log's names first, then the strength
// log's, each group in case-insensitive order. A section's header shows the exercise's
// thumbnail on the "background" picture, centred at (30, 29), and its name centred at (183, 29);
// its rows are the sets as today's tables show them, the note at (10, 28), 260 wide. A day
// without entries, "None" or no day gives one empty section.
class ExerciseLogTableController : public TableViewController {
 public:
  static constexpr double kHeaderHeight = 58;
  static constexpr Rect kNoteFrame{10, 28, 260, 14};

  explicit ExerciseLogTableController(HistoryState state);

  struct Section {
    std::string exercise;
    bool aerobic = false;
  };
  // The sections of `selectedDate`, in order.
  std::vector<Section> sections() const;

  int numberOfSectionsInTableView(TableView& tableView) override;
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::unique_ptr<View> viewForHeaderInSection(TableView& tableView, int section) override;
  std::optional<double> heightForHeaderInSection(TableView&, int) override { return kHeaderHeight; }

 private:
  std::optional<Section> section(int index) const;

  HistoryState state_;
};

}  // namespace kinetra
