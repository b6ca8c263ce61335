#pragma once

#include <memory>
#include <string>
#include <utility>

#include "foundation/PropertyList.h"
#include "logging/TodayLog.h"
#include "ui/Image.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

class RecordBook;
class UserData;
struct Selection;

// Today's strength sets of the selected exercise (`logTableView`): one row of 50 points per
// set of the entry `exerciseLog`[`today`][`selectedExercise`], in logging order, the note
// below the row text. In editing mode a deleted row takes its three strings out of the log,
// which is written whole at once. A set whose estimated one-repetition maximum beats every
// earlier set of the exercise (RecordBook) carries the record mark as its accessory; its text
// is unchanged. Keeps no state of its own but the mark's picture: every call reads the log, the
// selection and the records it was made with, which must outlive it.
class LogTableController : public TableViewDataSource, public TableViewDelegate {
 public:
  LogTableController(UserData& userData, const Selection& selection, RecordBook& records)
      : userData_(userData), selection_(selection), records_(records) {}

  // The record mark's size in points.
  static constexpr double kMarkSide = 20;
  // The picture of the record mark (given at launch; an empty picture leaves the mark blank).
  void setRecordMark(Image mark) { recordMark_ = std::move(mark); }
  // True when set `row` of today's entry carries the record mark.
  bool marksRecord(int row) const;

  static constexpr std::size_t kStringsPerSet = 3;
  static constexpr double kFontSize = 14;

  // "Set " r + 1 ", " weight " for " reps " reps".
  static std::string rowText(const PropertyList::Array& entry, std::size_t row);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  TodayLog today() const { return TodayLog(userData_, selection_, TodayLog::Kind::kStrength); }

  UserData& userData_;
  const Selection& selection_;
  RecordBook& records_;
  Image recordMark_;
};

}  // namespace kinetra
