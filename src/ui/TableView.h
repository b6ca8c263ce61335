#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/IndexPath.h"
#include "ui/ScrollView.h"
#include "ui/TableViewCell.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

enum class TableViewStyle { kPlain, kGrouped };
enum class TableViewScrollPosition { kNone, kTop, kMiddle, kBottom };
enum class TableViewRowAnimation { kNone, kFade, kRight, kLeft, kTop, kBottom };

std::string rowAnimationName(TableViewRowAnimation animation);

// A list of rows in sections, drawn from a data source and a delegate (both kept weakly).
//
// The table reads its sections, rows, heights and headers at each reload (the first one happens
// on first use) and keeps cells only for the rows on screen (its height at its content
// offset): they are its subviews, and cellForRowAtIndexPath yields null for any other row. A
// cell that leaves the screen goes to the reuse queue of its identifier, from which
// dequeueReusableCellWithIdentifier hands it out again with its subviews.
//
// Points are in the table's bounds, which are content coordinates: a section's header comes
// first, then its rows, top to bottom.
class TableView : public ScrollView {
 public:
  static constexpr double kDefaultRowHeight = 44;
  static constexpr double kDefaultSectionHeaderHeight = 22;
  static constexpr std::size_t kMaxQueuedCellsPerIdentifier = 32;
  static constexpr int kMaxRows = 1 << 20;        // rows of all sections together
  static constexpr double kMaxRowHeight = 10000;  // points

  explicit TableView(Rect frame = {}, TableViewStyle style = TableViewStyle::kPlain);
  ~TableView() override;

  std::string kind() const override { return "tableView"; }
  TableViewStyle style() const { return style_; }

  TableViewDataSource* dataSource() const { return dataSource_.get(); }
  void setDataSource(TableViewDataSource* dataSource);
  TableViewDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(TableViewDelegate* delegate);

  double rowHeight() const { return rowHeight_; }
  void setRowHeight(double height);
  double sectionHeaderHeight() const { return sectionHeaderHeight_; }
  void setSectionHeaderHeight(double height);

  // Reads everything again from the data source and delegate and asks for every on-screen
  // cell anew. Reentrant calls (from a data source) are folded into the running one.
  void reloadData();

  int numberOfSections();
  int numberOfRowsInSection(int section);
  std::vector<std::string> sectionIndexTitles();

  std::unique_ptr<TableViewCell> dequeueReusableCellWithIdentifier(std::string_view identifier);
  // A cell of `identifier` from the reuse queue, or else a new one with a zero frame.
  std::unique_ptr<TableViewCell> reusableCell(std::string_view identifier);
  // The cell of an on-screen row; null for a row that does not exist or is not on screen.
  TableViewCell* cellForRowAtIndexPath(IndexPath indexPath);
  std::vector<IndexPath> indexPathsForVisibleRows();
  std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;
  // The row under a point of the bounds; none over a header, past the last row or outside.
  std::optional<IndexPath> indexPathForRowAtPoint(Point point);
  // The row under the event's first touch; none without a touch or outside every row.
  std::optional<IndexPath> indexPathForRowOfEvent(const Event& event);
  // Empty for a row that does not exist.
  Rect rectForRowAtIndexPath(IndexPath indexPath);
  Rect rectForHeaderInSection(int section);

  // Moves the content offset so the row stands at the position (kNone: the least movement that
  // shows it), within the content.
  void scrollToRowAtIndexPath(IndexPath indexPath, TableViewScrollPosition position,
                              Animated animated);

  // Selects the row (none: clears the selection) without telling the delegate.
  void selectRowAtIndexPath(std::optional<IndexPath> indexPath, Animated animated,
                            TableViewScrollPosition position);
  void deselectRowAtIndexPath(IndexPath indexPath, Animated animated);
  std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }

  bool isEditing() const { return editing_; }
  void setEditing(bool editing, Animated animated);

  // Row deletions between beginUpdates and endUpdates are applied together at endUpdates;
  // outside a block a deletion applies at once. The data source must already report the
  // smaller row counts; if it does not, the table reloads everything instead.
  void beginUpdates();
  void endUpdates();
  void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                              TableViewRowAnimation animation);

  // A tap on a row selects it and tells the delegate (not while editing).
  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;
  void touchesEnded(const std::vector<Touch>& touches, const Event& event) override;

  void layoutIfNeeded() override;
  void describe(ViewDescription& description) const override;

 protected:
  void contentOffsetDidChange() override;
  void sizeDidChange() override;

 private:
  friend class Finger;
  friend class TableViewCell;

  struct Section {
    std::optional<std::string> title;
    double top = 0;
    double headerHeight = 0;
    std::vector<double> rowTops;  // from the section's top; one more than rows: the end
    View* headerView = nullptr;   // owned subview, if the delegate gave one
    int rows() const { return static_cast<int>(rowTops.size()) - 1; }
    double height() const { return headerHeight + rowTops.back(); }
  };

  // Calls `call` on `peer` (if not null); false when that destroyed the table: touch it no more.
  template <typename Peer, typename Call>
  [[nodiscard]] bool callOut(Peer* peer, Call&& call);

  bool exists(IndexPath indexPath) const;
  void ensureLoaded();
  // These return false when a callout destroyed the table, as callOut does.
  bool runLayout();
  bool loadSections();
  bool layoutVisibleRows();
  void recycle(IndexPath indexPath);
  void recycleAllCells();
  TableViewCell* visibleCell(IndexPath indexPath) const;
  double clampedHeight(std::optional<double> height, double fallback) const;
  void applyDeletions();
  void removeHeaderViews();
  void updateContentSize();
  // Sets `offered` when a swipe outside editing mode may delete the row, as on the device; false
  // when asking destroyed the table.
  bool offersSwipeToDelete(IndexPath indexPath, bool& offered);

  // Finger's ways in.
  void accessoryButtonTapped(TableViewCell& cell);
  bool commitDeletion(IndexPath indexPath);
  bool moveRow(IndexPath from, IndexPath to);
  bool chooseSectionIndexTitle(int index);

  TableViewStyle style_;
  WeakRef<TableViewDataSource> dataSource_;
  WeakRef<TableViewDelegate> delegate_;
  double rowHeight_ = kDefaultRowHeight;
  double sectionHeaderHeight_ = kDefaultSectionHeaderHeight;
  std::vector<Section> sections_;
  std::vector<std::string> indexTitles_;
  std::map<IndexPath, WeakRef<TableViewCell>> visibleCells_;  // owned subviews
  std::map<std::string, std::vector<std::unique_ptr<TableViewCell>>, std::less<>> reuseQueue_;
  std::optional<IndexPath> selected_;
  bool editing_ = false;
  bool loaded_ = false;
  bool needsReload_ = true;
  bool needsMetadata_ = false;
  bool layingOut_ = false;
  bool layoutAgain_ = false;
  int updateDepth_ = 0;
  std::vector<IndexPath> pendingDeletions_;
  TableViewRowAnimation pendingAnimation_ = TableViewRowAnimation::kNone;
};

}  // namespace kinetra
