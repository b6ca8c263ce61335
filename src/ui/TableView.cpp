#include "ui/TableView.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"
#include "ui/ScreenDescription.h"

namespace kinetra {

std::string rowAnimationName(TableViewRowAnimation animation) {
  switch (animation) {
    case TableViewRowAnimation::kFade:
      return "fade";
    case TableViewRowAnimation::kRight:
      return "right";
    case TableViewRowAnimation::kLeft:
      return "left";
    case TableViewRowAnimation::kTop:
      return "top";
    case TableViewRowAnimation::kBottom:
      return "bottom";
    case TableViewRowAnimation::kNone:
      break;
  }
  return "none";
}

TableView::TableView(Rect frame, TableViewStyle style) : ScrollView(frame), style_(style) {
  setBackgroundColor(style == TableViewStyle::kGrouped ? Color::groupTableViewBackgroundColor()
                                                       : Color::whiteColor());
}

TableView::~TableView() = default;

void TableView::setDataSource(TableViewDataSource* dataSource) {
  dataSource_ = dataSource;
  needsReload_ = true;
}

void TableView::setDelegate(TableViewDelegate* delegate) {
  delegate_ = delegate;
  ScrollView::setDelegate(delegate);
  needsReload_ = true;
}

void TableView::setRowHeight(double height) {
  rowHeight_ = clampedHeight(height, kDefaultRowHeight);
  needsReload_ = true;
}

void TableView::setSectionHeaderHeight(double height) {
  sectionHeaderHeight_ = clampedHeight(height, kDefaultSectionHeaderHeight);
  needsReload_ = true;
}

double TableView::clampedHeight(std::optional<double> height, double fallback) const {
  if (!height || !std::isfinite(*height)) return fallback;
  return std::clamp(*height, 0.0, kMaxRowHeight);
}

template <typename Peer, typename Call>
bool TableView::callOut(Peer* peer, Call&& call) {
  if (peer == nullptr) return true;
  WeakRef<TableView> self(this);
  std::forward<Call>(call)(*peer);
  return self.get() != nullptr;
}

// ---- Loading and laying out

void TableView::reloadData() {
  needsReload_ = true;
  runLayout();
}

void TableView::ensureLoaded() {
  if (needsReload_ && !layingOut_) runLayout();
}

bool TableView::runLayout() {
  if (layingOut_) {
    layoutAgain_ = true;
    return true;
  }
  layingOut_ = true;
  // Data sources may call back into the table (or, absurdly, destroy it); every callout goes
  // through callOut, and work that arrives meanwhile is done in a further pass.
  for (int pass = 0; pass < 8; ++pass) {
    layoutAgain_ = false;
    if (needsReload_) {
      needsReload_ = false;
      needsMetadata_ = false;
      recycleAllCells();
      if (!loadSections()) return false;
    } else if (needsMetadata_) {
      needsMetadata_ = false;
      if (!loadSections()) return false;
    }
    if (!layoutVisibleRows()) return false;
    if (!layoutAgain_ && !needsReload_ && !needsMetadata_) break;
  }
  layingOut_ = false;
  return true;
}

void TableView::removeHeaderViews() {
  for (Section& section : sections_) {
    if (section.headerView != nullptr && section.headerView->superview() == this) {
      section.headerView->removeFromSuperview();
    }
    section.headerView = nullptr;
  }
}

bool TableView::loadSections() {
  removeHeaderViews();
  sections_.clear();
  indexTitles_.clear();
  loaded_ = true;
  int count = 0;
  if (!callOut(dataSource(),
               [&](TableViewDataSource& ds) { count = ds.numberOfSectionsInTableView(*this); })) {
    return false;
  }
  int totalRows = 0;
  for (int s = 0; s < std::clamp(count, 0, kMaxRows); ++s) {
    // The source that gives the section's row count also gives its title.
    TableViewDataSource* source = dataSource();
    if (source == nullptr) break;
    Section section;
    int rows = 0;
    if (!callOut(source,
                 [&](TableViewDataSource& ds) { rows = ds.numberOfRowsInSection(*this, s); })) {
      return false;
    }
    rows = std::clamp(rows, 0, kMaxRows - totalRows);
    totalRows += rows;
    if (!callOut(source, [&](TableViewDataSource& ds) {
          section.title = ds.titleForHeaderInSection(*this, s);
        })) {
      return false;
    }
    std::unique_ptr<View> header;
    std::optional<double> headerHeight;
    if (!callOut(delegate(),
                 [&](TableViewDelegate& d) { header = d.viewForHeaderInSection(*this, s); }) ||
        !callOut(delegate(), [&](TableViewDelegate& d) {
          headerHeight = d.heightForHeaderInSection(*this, s);
        })) {
      return false;
    }
    const bool hasHeader = section.title.has_value() || header != nullptr;
    section.headerHeight = clampedHeight(headerHeight, hasHeader ? sectionHeaderHeight_ : 0);
    if (header) section.headerView = &addSubview(std::move(header));
    double y = 0;
    section.rowTops.reserve(static_cast<std::size_t>(rows) + 1);
    for (int r = 0; r < rows; ++r) {
      section.rowTops.push_back(y);
      std::optional<double> height;
      if (!callOut(delegate(), [&](TableViewDelegate& d) {
            height = d.heightForRowAtIndexPath(*this, {s, r});
          })) {
        return false;
      }
      y += clampedHeight(height, rowHeight_);
    }
    section.rowTops.push_back(y);
    sections_.push_back(std::move(section));
  }
  std::vector<std::string> indexTitles;
  if (!callOut(dataSource(), [&](TableViewDataSource& ds) {
        indexTitles = ds.sectionIndexTitlesForTableView(*this);
      })) {
    return false;
  }
  indexTitles_ = std::move(indexTitles);
  double top = 0;
  for (Section& section : sections_) {
    section.top = top;
    top += section.height();
  }
  updateContentSize();
  if (selected_ && !exists(*selected_)) selected_.reset();
  return true;
}

void TableView::updateContentSize() {
  const double height = sections_.empty() ? 0 : sections_.back().top + sections_.back().height();
  setContentSize({bounds().width, height});
}

TableViewCell* TableView::visibleCell(IndexPath indexPath) const {
  const auto found = visibleCells_.find(indexPath);
  if (found == visibleCells_.end()) return nullptr;
  TableViewCell* cell = found->second.get();
  return cell != nullptr && cell->superview() == this ? cell : nullptr;
}

bool TableView::layoutVisibleRows() {
  const Rect visible = bounds();
  const std::vector<IndexPath> wanted = [&] {
    std::vector<IndexPath> rows;
    for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
      const Section& section = sections_[static_cast<std::size_t>(s)];
      const double rowsTop = section.top + section.headerHeight;
      const double from = visible.y - rowsTop;
      const double to = visible.y + visible.height - rowsTop;
      if (to <= 0 || from >= section.rowTops.back()) continue;
      // Row r covers [rowTops[r], rowTops[r + 1]); start at the first row ending after `from`.
      const auto ends = section.rowTops.begin() + 1;
      int r = static_cast<int>(std::upper_bound(ends, section.rowTops.end(), from) - ends);
      for (; r < section.rows() && section.rowTops[static_cast<std::size_t>(r)] < to; ++r) {
        const auto i = static_cast<std::size_t>(r);
        if (section.rowTops[i + 1] > section.rowTops[i]) rows.push_back({s, r});
      }
    }
    return rows;
  }();

  std::vector<IndexPath> leaving;
  for (const auto& [indexPath, cell] : visibleCells_) {
    if (!std::binary_search(wanted.begin(), wanted.end(), indexPath) ||
        visibleCell(indexPath) == nullptr) {
      leaving.push_back(indexPath);
    }
  }
  for (IndexPath indexPath : leaving) recycle(indexPath);

  for (IndexPath indexPath : wanted) {
    if (visibleCell(indexPath) != nullptr) continue;
    std::unique_ptr<TableViewCell> cell;
    if (!callOut(dataSource(), [&](TableViewDataSource& ds) {
          cell = ds.cellForRowAtIndexPath(*this, indexPath);
        })) {
      return false;
    }
    if (needsReload_ || needsMetadata_) return true;  // the next pass starts over
    if (visibleCell(indexPath) != nullptr) continue;
    if (!cell) cell = std::make_unique<TableViewCell>();
    visibleCells_[indexPath] = &addSubview(std::move(cell));
  }

  std::vector<IndexPath> shown;
  for (const auto& [indexPath, ref] : visibleCells_) shown.push_back(indexPath);
  for (IndexPath indexPath : shown) {
    if (visibleCell(indexPath) == nullptr) continue;
    bool movable = false;
    if (TableViewDataSource* source = dataSource(); source != nullptr && editing_) {
      if (!callOut(source, [&](TableViewDataSource& ds) {
            movable = ds.canMoveRowAtIndexPath(*this, indexPath);
          })) {
        return false;
      }
      if (needsReload_ || needsMetadata_) return true;
    }
    bool swipeDeletable = false;
    if (!editing_) {
      if (!offersSwipeToDelete(indexPath, swipeDeletable)) return false;
      if (needsReload_ || needsMetadata_) return true;
    }
    TableViewCell* cell = visibleCell(indexPath);
    if (cell == nullptr) continue;
    cell->setFrame(rectForRowAtIndexPath(indexPath));
    cell->setSelected(selected_ == indexPath);
    cell->setRow(indexPath, editing_, editing_ || swipeDeletable, movable);
  }
  for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
    View* header = sections_[static_cast<std::size_t>(s)].headerView;
    if (header == nullptr || header->superview() != this) continue;
    const Rect rect = rectForHeaderInSection(s);
    header->setFrame(rect);
    header->setHidden(!rectIntersectsRect(rect, visible));
  }
  return true;
}

void TableView::recycle(IndexPath indexPath) {
  const auto found = visibleCells_.find(indexPath);
  if (found == visibleCells_.end()) return;
  TableViewCell* cell = found->second.get();
  visibleCells_.erase(found);
  if (cell == nullptr || cell->superview() != this) return;
  std::unique_ptr<View> released = cell->removeFromSuperview();
  if (!released) return;  // someone else's cell: it stays theirs
  std::unique_ptr<TableViewCell> owned(static_cast<TableViewCell*>(released.release()));
  owned->setSelected(false);
  owned->setRow(std::nullopt, false, false, false);
  if (owned->reuseIdentifier().empty()) return;  // not reusable: destroyed
  auto& queue = reuseQueue_[owned->reuseIdentifier()];
  queue.push_back(std::move(owned));
  if (queue.size() > kMaxQueuedCellsPerIdentifier) queue.erase(queue.begin());
}

void TableView::recycleAllCells() {
  std::vector<IndexPath> all;
  for (const auto& [indexPath, cell] : visibleCells_) all.push_back(indexPath);
  for (IndexPath indexPath : all) recycle(indexPath);
}

// ---- Queries

bool TableView::exists(IndexPath indexPath) const {
  return indexPath.section >= 0 && indexPath.section < static_cast<int>(sections_.size()) &&
         indexPath.row >= 0 &&
         indexPath.row < sections_[static_cast<std::size_t>(indexPath.section)].rows();
}

int TableView::numberOfSections() {
  ensureLoaded();
  return static_cast<int>(sections_.size());
}

int TableView::numberOfRowsInSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= static_cast<int>(sections_.size())) return 0;
  return sections_[static_cast<std::size_t>(section)].rows();
}

std::vector<std::string> TableView::sectionIndexTitles() {
  ensureLoaded();
  return indexTitles_;
}

std::unique_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(
    std::string_view identifier) {
  const auto found = reuseQueue_.find(identifier);
  if (found == reuseQueue_.end() || found->second.empty()) return nullptr;
  std::unique_ptr<TableViewCell> cell = std::move(found->second.back());
  found->second.pop_back();
  cell->prepareForReuse();
  return cell;
}

std::unique_ptr<TableViewCell> TableView::reusableCell(std::string_view identifier) {
  std::unique_ptr<TableViewCell> cell = dequeueReusableCellWithIdentifier(identifier);
  return cell != nullptr ? std::move(cell)
                         : std::make_unique<TableViewCell>(Rect{}, std::string(identifier));
}

std::optional<IndexPath> TableView::indexPathForRowOfEvent(const Event& event) {
  if (event.allTouches().empty()) return std::nullopt;
  return indexPathForRowAtPoint(event.anyTouch().locationInView(*this));
}

TableViewCell* TableView::cellForRowAtIndexPath(IndexPath indexPath) {
  ensureLoaded();
  return visibleCell(indexPath);
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() {
  ensureLoaded();
  std::vector<IndexPath> rows;
  for (const auto& [indexPath, cell] : visibleCells_) {
    if (visibleCell(indexPath) != nullptr) rows.push_back(indexPath);
  }
  return rows;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
  for (const auto& [indexPath, ref] : visibleCells_) {
    if (ref.get() == &cell && cell.superview() == this) return indexPath;
  }
  return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) {
  ensureLoaded();
  if (point.x < 0 || point.x >= bounds().width || sections_.empty()) return std::nullopt;
  const auto after = std::upper_bound(sections_.begin(), sections_.end(), point.y,
                                      [](double y, const Section& s) { return y < s.top; });
  if (after == sections_.begin()) return std::nullopt;
  const Section& section = *(after - 1);
  const double y = point.y - section.top - section.headerHeight;
  if (y < 0 || y >= section.rowTops.back()) return std::nullopt;
  const auto next = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), y);
  const int row = static_cast<int>(next - section.rowTops.begin()) - 1;
  if (row < 0 || row >= section.rows()) return std::nullopt;
  return IndexPath{static_cast<int>(after - 1 - sections_.begin()), row};
}

Rect TableView::rectForRowAtIndexPath(IndexPath indexPath) {
  ensureLoaded();
  if (!exists(indexPath)) return {};
  const Section& section = sections_[static_cast<std::size_t>(indexPath.section)];
  const auto row = static_cast<std::size_t>(indexPath.row);
  return {0, section.top + section.headerHeight + section.rowTops[row], bounds().width,
          section.rowTops[row + 1] - section.rowTops[row]};
}

Rect TableView::rectForHeaderInSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= static_cast<int>(sections_.size())) return {};
  const Section& s = sections_[static_cast<std::size_t>(section)];
  return {0, s.top, bounds().width, s.headerHeight};
}

// ---- Scrolling and selection

void TableView::scrollToRowAtIndexPath(IndexPath indexPath, TableViewScrollPosition position,
                                       Animated animated) {
  const Rect row = rectForRowAtIndexPath(indexPath);
  if (!exists(indexPath)) return;
  const double height = bounds().height;
  const double top = contentOffset().y;
  double y = top;
  switch (position) {
    case TableViewScrollPosition::kTop:
      y = row.y;
      break;
    case TableViewScrollPosition::kMiddle:
      y = row.y + row.height / 2 - height / 2;
      break;
    case TableViewScrollPosition::kBottom:
      y = row.y + row.height - height;
      break;
    case TableViewScrollPosition::kNone:
      if (row.y < top) y = row.y;
      if (row.y + row.height > top + height) y = row.y + row.height - height;
      break;
  }
  y = std::clamp(y, 0.0, maximumContentOffset().y);
  setContentOffset({contentOffset().x, y}, animated);
}

void TableView::selectRowAtIndexPath(std::optional<IndexPath> indexPath, Animated animated,
                                     TableViewScrollPosition position) {
  ensureLoaded();
  if (!indexPath || !exists(*indexPath)) {
    selected_.reset();
  } else {
    selected_ = indexPath;
    if (position != TableViewScrollPosition::kNone) {
      scrollToRowAtIndexPath(*indexPath, position, animated);
    }
  }
  for (const auto& [path, ref] : visibleCells_) {
    if (TableViewCell* cell = visibleCell(path)) cell->setSelected(selected_ == path, animated);
  }
}

void TableView::deselectRowAtIndexPath(IndexPath indexPath, Animated animated) {
  if (selected_ != indexPath) return;
  selected_.reset();
  if (TableViewCell* cell = visibleCell(indexPath)) cell->setSelected(false, animated);
}

void TableView::setEditing(bool editing, Animated) {
  ensureLoaded();
  editing_ = editing;
  runLayout();
}

// ---- Updates

void TableView::beginUpdates() { ++updateDepth_; }

void TableView::endUpdates() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0) applyDeletions();
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation animation) {
  ensureLoaded();
  for (IndexPath indexPath : indexPaths) {
    if (exists(indexPath) && std::find(pendingDeletions_.begin(), pendingDeletions_.end(),
                                       indexPath) == pendingDeletions_.end()) {
      pendingDeletions_.push_back(indexPath);
    }
  }
  pendingAnimation_ = animation;
  if (updateDepth_ == 0) applyDeletions();
}

void TableView::applyDeletions() {
  if (pendingDeletions_.empty()) return;
  if (layingOut_) {
    // Rows deleted by a data source while the table asks it for cells: read everything again.
    pendingDeletions_.clear();
    needsReload_ = true;
    layoutAgain_ = true;
    return;
  }
  std::vector<IndexPath> deletions = std::move(pendingDeletions_);
  pendingDeletions_.clear();
  std::sort(deletions.begin(), deletions.end());

  std::vector<int> expected;
  for (const Section& section : sections_) expected.push_back(section.rows());
  for (IndexPath indexPath : deletions) --expected[static_cast<std::size_t>(indexPath.section)];

  bool consistent = false;
  if (TableViewDataSource* source = dataSource()) {
    int sections = 0;
    if (!callOut(source, [&](TableViewDataSource& ds) {
          sections = ds.numberOfSectionsInTableView(*this);
        })) {
      return;
    }
    consistent = sections == static_cast<int>(expected.size());
    for (int s = 0; consistent && s < sections; ++s) {
      TableViewDataSource* current = dataSource();
      if (current == nullptr) break;
      int rows = 0;
      if (!callOut(current,
                   [&](TableViewDataSource& ds) { rows = ds.numberOfRowsInSection(*this, s); })) {
        return;
      }
      consistent = rows == expected[static_cast<std::size_t>(s)];
    }
  }

  AnimationRecord record;
  record.kind = AnimationRecord::Kind::kDeleteRows;
  record.duration = 0.3;
  record.rowAnimation = rowAnimationName(pendingAnimation_);
  record.rows = deletions;
  Application::shared().animations().record(this, record);

  if (!consistent) {
    // The device would stop the application here; the sound outcome is a full reload.
    reloadData();
    return;
  }
  auto shifted = [&](IndexPath indexPath) {
    const int before =
        static_cast<int>(std::count_if(deletions.begin(), deletions.end(), [&](IndexPath d) {
          return d.section == indexPath.section && d.row < indexPath.row;
        }));
    return IndexPath{indexPath.section, indexPath.row - before};
  };
  for (IndexPath indexPath : deletions) recycle(indexPath);
  std::map<IndexPath, WeakRef<TableViewCell>> remaining;
  for (const auto& [indexPath, cell] : visibleCells_) remaining[shifted(indexPath)] = cell;
  visibleCells_ = std::move(remaining);
  if (selected_) {
    selected_ = std::binary_search(deletions.begin(), deletions.end(), *selected_)
                    ? std::nullopt
                    : std::optional<IndexPath>(shifted(*selected_));
  }
  needsMetadata_ = true;
  if (!runLayout()) return;
  const double maxY = maximumContentOffset().y;
  if (contentOffset().y > maxY) setContentOffset({contentOffset().x, maxY});
}

// ---- Touches and the finger's ways in

void TableView::touchesBegan(const std::vector<Touch>&, const Event&) {}

void TableView::touchesEnded(const std::vector<Touch>& touches, const Event&) {
  if (touches.empty() || editing_) return;
  const std::optional<IndexPath> indexPath =
      indexPathForRowAtPoint(touches.front().locationInView(*this));
  if (!indexPath) return;
  selectRowAtIndexPath(indexPath, Animated::No, TableViewScrollPosition::kNone);
  if (TableViewDelegate* d = delegate()) d->didSelectRowAtIndexPath(*this, *indexPath);
}

void TableView::accessoryButtonTapped(TableViewCell& cell) {
  const std::optional<IndexPath> indexPath = indexPathForCell(cell);
  if (!indexPath) return;
  if (TableViewDelegate* d = delegate()) {
    d->accessoryButtonTappedForRowWithIndexPath(*this, *indexPath);
  }
}

bool TableView::offersSwipeToDelete(IndexPath indexPath, bool& offered) {
  offered = false;
  TableViewDataSource* source = dataSource();
  if (source == nullptr || !source->implementsCommitEditingStyle()) return true;
  bool editable = false;
  if (!callOut(source, [&](TableViewDataSource& ds) {
        editable = ds.canEditRowAtIndexPath(*this, indexPath);
      })) {
    return false;
  }
  if (!editable) return true;
  TableViewCellEditingStyle style = TableViewCellEditingStyle::kDelete;
  if (!callOut(delegate(), [&](TableViewDelegate& d) {
        style = d.editingStyleForRowAtIndexPath(*this, indexPath);
      })) {
    return false;
  }
  offered = style == TableViewCellEditingStyle::kDelete;
  return true;
}

bool TableView::commitDeletion(IndexPath indexPath) {
  ensureLoaded();
  if (!exists(indexPath)) return false;
  bool editable = false;
  if (!callOut(dataSource(), [&](TableViewDataSource& ds) {
        editable = ds.canEditRowAtIndexPath(*this, indexPath);
      })) {
    return false;
  }
  if (!editable) return false;
  TableViewCellEditingStyle style = TableViewCellEditingStyle::kDelete;
  if (!callOut(delegate(), [&](TableViewDelegate& d) {
        style = d.editingStyleForRowAtIndexPath(*this, indexPath);
      })) {
    return false;
  }
  if (style != TableViewCellEditingStyle::kDelete) return false;
  TableViewDataSource* source = dataSource();
  if (source == nullptr) return false;
  // Nothing follows: the table may be gone once the source has deleted the row.
  source->commitEditingStyle(*this, TableViewCellEditingStyle::kDelete, indexPath);
  return true;
}

bool TableView::moveRow(IndexPath from, IndexPath to) {
  ensureLoaded();
  if (!editing_ || !exists(from)) return false;
  if (to.section < 0 || to.section >= static_cast<int>(sections_.size())) return false;
  const int limit =
      sections_[static_cast<std::size_t>(to.section)].rows() - (to.section == from.section ? 1 : 0);
  if (to.row < 0 || to.row > limit) return false;
  bool movable = false;
  if (!callOut(dataSource(),
               [&](TableViewDataSource& ds) { movable = ds.canMoveRowAtIndexPath(*this, from); })) {
    return false;
  }
  if (!movable) return false;
  if (from == to) return true;

  // Move the row's height and the on-screen cells as the device does, then tell the source.
  auto heights = [](const Section& s) {
    std::vector<double> h;
    for (std::size_t r = 0; r + 1 < s.rowTops.size(); ++r)
      h.push_back(s.rowTops[r + 1] - s.rowTops[r]);
    return h;
  };
  auto setHeights = [](Section& s, const std::vector<double>& h) {
    s.rowTops.assign(1, 0);
    for (double height : h) s.rowTops.push_back(s.rowTops.back() + height);
  };
  Section& fromSection = sections_[static_cast<std::size_t>(from.section)];
  std::vector<double> fromHeights = heights(fromSection);
  const double moved = fromHeights[static_cast<std::size_t>(from.row)];
  fromHeights.erase(fromHeights.begin() + from.row);
  setHeights(fromSection, fromHeights);
  Section& toSection = sections_[static_cast<std::size_t>(to.section)];
  std::vector<double> toHeights = heights(toSection);
  toHeights.insert(toHeights.begin() + to.row, moved);
  setHeights(toSection, toHeights);
  double top = 0;
  for (Section& section : sections_) {
    section.top = top;
    top += section.height();
  }
  updateContentSize();

  auto movedPath = [&](IndexPath p) {
    if (p == from) return to;
    if (p.section == from.section && p.row > from.row) --p.row;
    if (p.section == to.section && p.row >= to.row) ++p.row;
    return p;
  };
  std::map<IndexPath, WeakRef<TableViewCell>> remapped;
  for (const auto& [indexPath, cell] : visibleCells_) remapped[movedPath(indexPath)] = cell;
  visibleCells_ = std::move(remapped);
  if (selected_) selected_ = movedPath(*selected_);

  if (callOut(dataSource(),
              [&](TableViewDataSource& ds) { ds.moveRowAtIndexPath(*this, from, to); })) {
    runLayout();
  }
  return true;
}

bool TableView::chooseSectionIndexTitle(int index) {
  ensureLoaded();
  if (index < 0 || index >= static_cast<int>(indexTitles_.size()) || sections_.empty()) {
    return false;
  }
  TableViewDataSource* source = dataSource();
  if (source == nullptr) return false;
  const std::string title = indexTitles_[static_cast<std::size_t>(index)];
  int section = 0;
  if (!callOut(source, [&](TableViewDataSource& ds) {
        section = ds.sectionForSectionIndexTitle(*this, title, index);
      })) {
    return false;
  }
  if (section < 0 || section >= static_cast<int>(sections_.size())) return false;
  const double y =
      std::min(sections_[static_cast<std::size_t>(section)].top, maximumContentOffset().y);
  setContentOffset({contentOffset().x, y});
  return true;
}

// ---- View overrides

void TableView::contentOffsetDidChange() {
  if (loaded_) runLayout();
}

void TableView::sizeDidChange() {
  if (!loaded_) return;
  updateContentSize();
  runLayout();
}

void TableView::layoutIfNeeded() {
  ensureLoaded();
  ScrollView::layoutIfNeeded();
}

void TableView::describe(ViewDescription& description) const {
  ScrollView::describe(description);
  description.tableStyle = style_ == TableViewStyle::kGrouped ? "grouped" : "plain";
  description.editing = editing_;
  description.sectionIndexTitles = indexTitles_;
  const Rect visible = bounds();
  for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
    const Section& section = sections_[static_cast<std::size_t>(s)];
    if (!section.title || section.headerView != nullptr || section.headerHeight <= 0) continue;
    const Rect rect{0, section.top, visible.width, section.headerHeight};
    if (!rectIntersectsRect(rect, visible)) continue;
    description.sectionHeaders.push_back({s, *section.title, rect});
  }
}

}  // namespace kinetra
