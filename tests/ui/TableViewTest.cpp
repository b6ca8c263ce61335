#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Finger.h"
#include "ui/NavigationController.h"
#include "ui/TableView.h"
#include "ui/TableViewController.h"

namespace kinetra {
namespace {

using test::UiTest;

// A tiny demo screen: stateless, it reads the rows it shows from a model it does not own, as
// the system's screens read the shared state.
struct Model {
  std::vector<std::vector<std::string>> sections;
  std::vector<std::optional<std::string>> titles;
  std::vector<std::vector<double>> heights;  // per row; empty: the default
  std::vector<std::string> indexTitles;
  int cellsMade = 0;
  int cellsAsked = 0;
  std::vector<IndexPath> selected;
  std::vector<IndexPath> accessoryTaps;
  bool keepRowsOnDelete = false;
  bool neverReuse = false;  // every cell made anew, as some editors do
};

class DemoScreen : public TableViewDataSource, public TableViewDelegate {
 public:
  explicit DemoScreen(Model& model) : model_(model) {}

  int numberOfSectionsInTableView(TableView&) override {
    return static_cast<int>(model_.sections.size());
  }
  int numberOfRowsInSection(TableView&, int section) override {
    return static_cast<int>(model_.sections[static_cast<std::size_t>(section)].size());
  }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table,
                                                       IndexPath indexPath) override {
    ++model_.cellsAsked;
    std::unique_ptr<TableViewCell> cell =
        model_.neverReuse ? nullptr : table.dequeueReusableCellWithIdentifier("mine");
    if (!cell) {
      ++model_.cellsMade;
      cell = std::make_unique<TableViewCell>(Rect{}, "mine");
      // Made once per new cell; a reused cell keeps it.
      cell->contentView().addSubview(std::make_unique<Label>(Rect{10, 30, 100, 14}));
    }
    cell->setText(model_.sections[static_cast<std::size_t>(indexPath.section)]
                                 [static_cast<std::size_t>(indexPath.row)]);
    cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
    return cell;
  }
  std::optional<std::string> titleForHeaderInSection(TableView&, int section) override {
    if (static_cast<std::size_t>(section) >= model_.titles.size()) return std::nullopt;
    return model_.titles[static_cast<std::size_t>(section)];
  }
  std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override {
    return model_.indexTitles;
  }
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath indexPath) override {
    if (static_cast<std::size_t>(indexPath.section) >= model_.heights.size()) return std::nullopt;
    return model_.heights[static_cast<std::size_t>(indexPath.section)]
                         [static_cast<std::size_t>(indexPath.row)];
  }
  void didSelectRowAtIndexPath(TableView&, IndexPath indexPath) override {
    model_.selected.push_back(indexPath);
  }
  void accessoryButtonTappedForRowWithIndexPath(TableView&, IndexPath indexPath) override {
    model_.accessoryTaps.push_back(indexPath);
  }
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& table, TableViewCellEditingStyle,
                          IndexPath indexPath) override {
    auto& rows = model_.sections[static_cast<std::size_t>(indexPath.section)];
    if (!model_.keepRowsOnDelete) rows.erase(rows.begin() + indexPath.row);
    table.beginUpdates();
    table.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kTop);
    table.endUpdates();
  }
  bool canMoveRowAtIndexPath(TableView&, IndexPath) override { return true; }
  void moveRowAtIndexPath(TableView&, IndexPath from, IndexPath to) override {
    auto& source = model_.sections[static_cast<std::size_t>(from.section)];
    const std::string moved = source[static_cast<std::size_t>(from.row)];
    source.erase(source.begin() + from.row);
    auto& target = model_.sections[static_cast<std::size_t>(to.section)];
    target.insert(target.begin() + to.row, moved);
  }

 private:
  Model& model_;
};

std::vector<std::string> rows(int count, const std::string& prefix = "row ") {
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i) result.push_back(prefix + std::to_string(i));
  return result;
}

class TableViewTest : public UiTest {
 protected:
  void show(TableView& table) {
    table.setDataSource(&screen);
    table.setDelegate(&screen);
    window().addSubview(table);
    application().layoutIfNeeded();
  }

  Model model;
  DemoScreen screen{model};
  Finger finger;
};

TEST_F(TableViewTest, OnlyRowsOnScreenHaveCells) {
  model.sections = {rows(100)};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  // 440 / 44: rows 0 to 9 exactly.
  EXPECT_NE(table.cellForRowAtIndexPath({0, 9}), nullptr);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 10}), nullptr);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 500}), nullptr);
  EXPECT_EQ(table.cellForRowAtIndexPath({3, 0}), nullptr);
  EXPECT_EQ(table.indexPathsForVisibleRows().size(), 10u);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 3})->text(), "row 3");
  EXPECT_DOUBLE_EQ(table.contentSize().height, 4400);

  table.setContentOffset({0, 50});  // row 1 partly, through row 11 partly
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 0}), nullptr);
  EXPECT_NE(table.cellForRowAtIndexPath({0, 1}), nullptr);
  EXPECT_NE(table.cellForRowAtIndexPath({0, 11}), nullptr);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 12}), nullptr);
  // The cells are the table's subviews, placed in content coordinates.
  TableViewCell* cell = table.cellForRowAtIndexPath({0, 11});
  EXPECT_EQ(cell->superview(), &table);
  EXPECT_DOUBLE_EQ(cell->frame().y, 11 * 44);
}

TEST_F(TableViewTest, ScrolledOffCellsAreReusedWithTheirSubviews) {
  model.sections = {rows(100)};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  EXPECT_EQ(model.cellsMade, 10);
  TableViewCell* first = table.cellForRowAtIndexPath({0, 0});
  Label* added = dynamic_cast<Label*>(first->contentView().subviews().back());
  ASSERT_NE(added, nullptr);
  added->setText("kept");
  WeakRef<TableViewCell> watched(first);

  table.setContentOffset({0, 440});  // a whole screen further: rows 10 to 19
  EXPECT_EQ(model.cellsMade, 10);    // all ten came from the queue
  bool found = false;
  for (IndexPath indexPath : table.indexPathsForVisibleRows()) {
    TableViewCell* cell = table.cellForRowAtIndexPath(indexPath);
    if (cell == nullptr || cell != watched.get()) continue;
    found = true;
    EXPECT_EQ(cell->text(), "row " + std::to_string(indexPath.row));
    const auto* label = dynamic_cast<const Label*>(cell->contentView().subviews().back());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "kept");
  }
  EXPECT_TRUE(found);

  // A reload asks for every on-screen cell again and takes them from the queue.
  const int asked = model.cellsAsked;
  table.reloadData();
  EXPECT_EQ(model.cellsAsked, asked + 10);
  EXPECT_EQ(model.cellsMade, 10);
}

TEST_F(TableViewTest, TheReuseQueueIsBounded) {
  model.sections = {rows(1)};
  model.neverReuse = true;
  TableView table(Rect{0, 0, 320, 44});
  show(table);
  // A data source that never dequeues would otherwise fill the queue at every reload.
  for (int i = 0; i < 100; ++i) table.reloadData();
  EXPECT_EQ(model.cellsMade, 101);
  int queued = 0;
  while (table.dequeueReusableCellWithIdentifier("mine")) ++queued;
  EXPECT_EQ(queued, static_cast<int>(TableView::kMaxQueuedCellsPerIdentifier));
  EXPECT_EQ(table.dequeueReusableCellWithIdentifier("other"), nullptr);
}

TEST_F(TableViewTest, IndexPathAtPointCountsHeadersAndVaryingHeights) {
  model.sections = {rows(2), rows(3), rows(1)};
  model.titles = {"A", std::nullopt, "C"};
  model.heights = {{30, 50}, {10, 0, 60}, {40}};
  TableView table(Rect{0, 0, 320, 400});
  show(table);
  // Section 0: header 0–22, row 0 22–52, row 1 52–102.
  // Section 1: no header, row 0 102–112, row 1 empty, row 2 112–172.
  // Section 2: header 172–194, row 0 194–234.
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 10}), std::nullopt);  // header
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 22}), (IndexPath{0, 0}));
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 51.9}), (IndexPath{0, 0}));
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 52}), (IndexPath{0, 1}));
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 105}), (IndexPath{1, 0}));
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 112}), (IndexPath{1, 2}));
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 180}), std::nullopt);  // header of section 2
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 200}), (IndexPath{2, 0}));
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 234}), std::nullopt);  // past the end
  EXPECT_EQ(table.indexPathForRowAtPoint({-1, 30}), std::nullopt);
  EXPECT_EQ(table.indexPathForRowAtPoint({320, 30}), std::nullopt);
  EXPECT_DOUBLE_EQ(table.rectForRowAtIndexPath({2, 0}).y, 194);
  EXPECT_EQ(table.cellForRowAtIndexPath({1, 1}), nullptr);  // zero height: never on screen
  // Content coordinates: a scrolled table answers for the same content point.
  table.setContentOffset({0, 100});
  EXPECT_EQ(table.indexPathForRowAtPoint({5, 200}), (IndexPath{2, 0}));
}

TEST_F(TableViewTest, ScrollingARowToTheMiddleStaysInsideTheContent) {
  model.sections = {rows(30)};
  TableView table(Rect{0, 0, 320, 220});
  show(table);
  table.scrollToRowAtIndexPath({0, 10}, TableViewScrollPosition::kMiddle, Animated::No);
  EXPECT_DOUBLE_EQ(table.contentOffset().y, 10 * 44 + 22 - 110);
  EXPECT_NE(table.cellForRowAtIndexPath({0, 9}), nullptr);
  EXPECT_NE(table.cellForRowAtIndexPath({0, 11}), nullptr);
  table.scrollToRowAtIndexPath({0, 0}, TableViewScrollPosition::kMiddle, Animated::No);
  EXPECT_DOUBLE_EQ(table.contentOffset().y, 0);
  table.scrollToRowAtIndexPath({0, 29}, TableViewScrollPosition::kMiddle, Animated::No);
  EXPECT_DOUBLE_EQ(table.contentOffset().y, 30 * 44 - 220);
}

TEST_F(TableViewTest, TappingARowSelectsItAndTellsTheDelegate) {
  model.sections = {rows(5)};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  ASSERT_TRUE(finger.selectRow(table, {0, 2}).ok());
  EXPECT_EQ(model.selected, (std::vector<IndexPath>{{0, 2}}));
  EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 2}));
  EXPECT_TRUE(table.cellForRowAtIndexPath({0, 2})->isSelected());
  table.deselectRowAtIndexPath({0, 2}, Animated::No);
  EXPECT_EQ(table.indexPathForSelectedRow(), std::nullopt);
  EXPECT_FALSE(table.cellForRowAtIndexPath({0, 2})->isSelected());
  // Programmatic selection tells nobody.
  table.selectRowAtIndexPath(IndexPath{0, 4}, Animated::No, TableViewScrollPosition::kNone);
  EXPECT_EQ(model.selected.size(), 1u);
  EXPECT_EQ(finger.selectRow(table, {0, 40}).code(), Status::Code::kNotFound);
  // A row hidden under another view cannot be tapped.
  View cover(Rect{0, 0, 320, 480});
  window().addSubview(cover);
  ASSERT_TRUE(finger.selectRow(table, {0, 1}).ok());
  EXPECT_EQ(model.selected.size(), 1u);
}

TEST_F(TableViewTest, AccessoryButtonsReachTheDelegateAndCustomAccessoriesTheirOwnAction) {
  model.sections = {rows(5)};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  ASSERT_TRUE(finger.tapAccessory(table, {0, 3}).ok());
  EXPECT_EQ(model.accessoryTaps, (std::vector<IndexPath>{{0, 3}}));
  EXPECT_TRUE(model.selected.empty());

  // A custom button in the accessory place maps its touch to a row by its location.
  std::optional<IndexPath> mapped;
  auto button = std::make_unique<Button>(ButtonType::kCustom, Rect{0, 0, 30, 30});
  button->addTarget(
      [&](Control&, const Event& event) {
        mapped = table.indexPathForRowAtPoint(event.anyTouch().locationInView(table));
      },
      ControlEvent::kTouchUpInside);
  table.cellForRowAtIndexPath({0, 1})->setAccessoryView(std::move(button));
  ASSERT_TRUE(finger.tapAccessory(table, {0, 1}).ok());
  EXPECT_EQ(mapped, (IndexPath{0, 1}));
  EXPECT_EQ(model.accessoryTaps.size(), 1u);
}

TEST_F(TableViewTest, DeletingInsideAnUpdateBlockShiftsTheRowsAndRecordsTheAnimation) {
  model.sections = {rows(4)};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  EXPECT_EQ(finger.deleteRow(table, {0, 1}).code(), Status::Code::kOk);  // swipe-to-delete
  table.setEditing(true, Animated::Yes);
  EXPECT_TRUE(table.cellForRowAtIndexPath({0, 0})->isEditing());
  TableViewCell* last = table.cellForRowAtIndexPath({0, 2});
  ASSERT_TRUE(finger.deleteRow(table, {0, 0}).ok());
  EXPECT_EQ(model.sections[0], (std::vector<std::string>{"row 2", "row 3"}));
  EXPECT_EQ(table.numberOfRowsInSection(0), 2);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 1}), last);  // the cell moved up with its row
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 1})->text(), "row 3");
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 2}), nullptr);
  ASSERT_TRUE(table.lastAnimation().has_value());
  EXPECT_EQ(table.lastAnimation()->kind, AnimationRecord::Kind::kDeleteRows);
  EXPECT_EQ(table.lastAnimation()->rowAnimation, "top");
  EXPECT_EQ(table.lastAnimation()->rows, (std::vector<IndexPath>{{0, 0}}));
  // While editing, a tap selects nothing.
  ASSERT_TRUE(finger.selectRow(table, {0, 0}).ok());
  EXPECT_TRUE(model.selected.empty());
}

TEST_F(TableViewTest, SwipeToDeleteIsOfferedOnlyByDataSourcesThatCommitDeletions) {
  struct ListOnly : TableViewDataSource {
    int numberOfRowsInSection(TableView&, int) override { return 3; }
    std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, IndexPath) override {
      return std::make_unique<TableViewCell>(Rect{}, "mine");
    }
  };
  const auto deletable = [](TableView& table, IndexPath indexPath) {
    ViewDescription description;
    table.cellForRowAtIndexPath(indexPath)->describe(description);
    return description.deletable;
  };
  model.sections = {rows(3)};
  TableView committing(Rect{0, 0, 320, 440});
  show(committing);
  EXPECT_TRUE(deletable(committing, {0, 1}));

  ListOnly listOnly;
  TableView plain(Rect{0, 0, 320, 440});
  plain.setDataSource(&listOnly);
  window().addSubview(plain);
  application().layoutIfNeeded();
  EXPECT_FALSE(deletable(plain, {0, 1}));
  plain.setEditing(true, Animated::No);
  application().layoutIfNeeded();
  EXPECT_TRUE(deletable(plain, {0, 1}));  // editing mode shows the delete controls
}

TEST_F(TableViewTest, ADeletionTheDataSourceDoesNotReflectReloadsInsteadOfFailing) {
  model.sections = {rows(3)};
  model.keepRowsOnDelete = true;
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  table.setEditing(true, Animated::No);
  ASSERT_TRUE(finger.deleteRow(table, {0, 1}).ok());
  EXPECT_EQ(table.numberOfRowsInSection(0), 3);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 1})->text(), "row 1");
  // Nonsense deletions are ignored.
  table.deleteRowsAtIndexPaths({{0, 9}, {5, 0}, {-1, -1}}, TableViewRowAnimation::kFade);
  EXPECT_EQ(table.numberOfRowsInSection(0), 3);
}

TEST_F(TableViewTest, MovingARowMovesItsCellAndTellsTheDataSource) {
  model.sections = {rows(4)};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  EXPECT_EQ(finger.moveRow(table, {0, 3}, {0, 0}).code(), Status::Code::kInvalidArgument);
  table.setEditing(true, Animated::No);
  TableViewCell* moving = table.cellForRowAtIndexPath({0, 3});
  const int asked = model.cellsAsked;
  ASSERT_TRUE(finger.moveRow(table, {0, 3}, {0, 0}).ok());
  EXPECT_EQ(model.sections[0], (std::vector<std::string>{"row 3", "row 0", "row 1", "row 2"}));
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 0}), moving);
  EXPECT_DOUBLE_EQ(moving->frame().y, 0);
  EXPECT_EQ(model.cellsAsked, asked);  // the device does not ask again
  EXPECT_EQ(finger.moveRow(table, {0, 0}, {0, 4}).code(), Status::Code::kInvalidArgument);
}

TEST_F(TableViewTest, SectionIndexTitlesJumpToTheirSection) {
  model.sections = {rows(20), rows(20), rows(2)};
  model.titles = {"a", "b", "c"};
  model.indexTitles = {"a", "b", "c"};
  TableView table(Rect{0, 0, 320, 440});
  show(table);
  EXPECT_EQ(table.sectionIndexTitles(), model.indexTitles);
  ASSERT_TRUE(finger.chooseSectionIndexTitle(table, 1).ok());
  EXPECT_DOUBLE_EQ(table.contentOffset().y, 22 + 20 * 44);
  ASSERT_TRUE(finger.chooseSectionIndexTitle(table, 2).ok());  // not past the content's end
  EXPECT_DOUBLE_EQ(table.contentOffset().y, table.maximumContentOffset().y);
  EXPECT_EQ(finger.chooseSectionIndexTitle(table, 3).code(), Status::Code::kInvalidArgument);
}

// A data source that reloads its table from inside a callback, and one that lies about sizes.
class UnrulySource : public TableViewDataSource {
 public:
  int numberOfSectionsInTableView(TableView&) override { return sections; }
  int numberOfRowsInSection(TableView&, int) override { return rowsPerSection; }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, IndexPath) override {
    if (reloads-- > 0) table.reloadData();
    if (deletes-- > 0) {
      --rowsPerSection;
      table.deleteRowsAtIndexPaths({{0, 0}}, TableViewRowAnimation::kFade);
    }
    return nullptr;  // an empty cell stands in
  }
  int sections = 1;
  int rowsPerSection = 3;
  int reloads = 2;
  int deletes = 0;
};

TEST_F(TableViewTest, ReentrantReloadsAndBadCountsHaveDefinedOutcomes) {
  UnrulySource source;
  TableView table(Rect{0, 0, 320, 440});
  table.setDataSource(&source);
  window().addSubview(table);
  EXPECT_EQ(table.numberOfRowsInSection(0), 3);
  EXPECT_NE(table.cellForRowAtIndexPath({0, 2}), nullptr);
  source.sections = -4;
  table.reloadData();
  EXPECT_EQ(table.numberOfSections(), 0);
  source.sections = 1;
  source.rowsPerSection = -1;
  table.reloadData();
  EXPECT_EQ(table.numberOfRowsInSection(0), 0);
  // Rows deleted from inside a cell request: the table reads everything again.
  source.rowsPerSection = 6;
  source.deletes = 2;
  table.reloadData();
  EXPECT_EQ(table.numberOfRowsInSection(0), 4);
  EXPECT_NE(table.cellForRowAtIndexPath({0, 3}), nullptr);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 4}), nullptr);
  table.setDataSource(nullptr);
  table.reloadData();
  EXPECT_EQ(table.numberOfSections(), 0);
}

TEST_F(TableViewTest, ADataSourceDestroyedFirstIsNoLongerAsked) {
  auto source = std::make_unique<UnrulySource>();
  TableView table(Rect{0, 0, 320, 440});
  table.setDataSource(source.get());
  EXPECT_EQ(table.numberOfRowsInSection(0), 3);
  source.reset();
  table.reloadData();
  EXPECT_EQ(table.numberOfSections(), 0);
}

// A data source and delegate that destroys its table from inside one chosen callback and notes
// whether it was asked anything afterwards (a call that would reach a destroyed table).
class Saboteur : public TableViewDataSource, public TableViewDelegate {
 public:
  explicit Saboteur(std::unique_ptr<TableView>& table) : table_(table) {}

  int numberOfSectionsInTableView(TableView&) override {
    hit("numberOfSections");
    return 1;
  }
  int numberOfRowsInSection(TableView&, int) override {
    hit("numberOfRows");
    return rows;
  }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, IndexPath) override {
    hit("cellForRow");
    return nullptr;
  }
  std::optional<std::string> titleForHeaderInSection(TableView&, int) override {
    hit("titleForHeader");
    return "A";
  }
  std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override {
    hit("sectionIndexTitles");
    return {"A"};
  }
  int sectionForSectionIndexTitle(TableView&, const std::string&, int index) override {
    hit("sectionForSectionIndexTitle");
    return index;
  }
  bool canEditRowAtIndexPath(TableView&, IndexPath) override {
    hit("canEditRow");
    return true;
  }
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& table, TableViewCellEditingStyle,
                          IndexPath indexPath) override {
    hit("commitEditingStyle");
    if (!table_) return;
    destroyIn = destroyInOnCommit;
    --rows;
    table.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kFade);
  }
  bool canMoveRowAtIndexPath(TableView&, IndexPath) override {
    hit("canMoveRow");
    return true;
  }
  void moveRowAtIndexPath(TableView&, IndexPath, IndexPath) override { hit("moveRow"); }
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    hit("heightForRow");
    return std::nullopt;
  }
  std::optional<double> heightForHeaderInSection(TableView&, int) override {
    hit("heightForHeader");
    return std::nullopt;
  }
  std::unique_ptr<View> viewForHeaderInSection(TableView&, int) override {
    hit("viewForHeader");
    return nullptr;
  }
  TableViewCellEditingStyle editingStyleForRowAtIndexPath(TableView&, IndexPath) override {
    hit("editingStyle");
    return TableViewCellEditingStyle::kDelete;
  }

  std::string destroyIn;
  std::string destroyInOnCommit;  // becomes destroyIn once a deletion is committed
  int rows = 3;
  bool askedWhenGone = false;

 private:
  void hit(const std::string& callback) {
    if (!table_) askedWhenGone = true;
    if (callback != destroyIn) return;
    destroyIn.clear();
    table_.reset();
  }

  std::unique_ptr<TableView>& table_;
};

TEST_F(TableViewTest, ATableDestroyedFromACallbackIsNotAskedAnythingMore) {
  enum class Way { kReload, kStartEditing, kDelete, kMove, kChooseIndexTitle };
  struct Case {
    Way way;
    std::string destroyIn;
    std::string destroyInOnCommit;
  };
  const std::vector<Case> cases = {
      {Way::kReload, "numberOfSections", ""},
      {Way::kReload, "numberOfRows", ""},
      {Way::kReload, "titleForHeader", ""},
      {Way::kReload, "viewForHeader", ""},
      {Way::kReload, "heightForHeader", ""},
      {Way::kReload, "heightForRow", ""},
      {Way::kReload, "sectionIndexTitles", ""},
      {Way::kReload, "cellForRow", ""},
      {Way::kReload, "canEditRow", ""},    // swipe-to-delete, outside editing
      {Way::kReload, "editingStyle", ""},  // likewise
      {Way::kStartEditing, "canMoveRow", ""},
      {Way::kDelete, "canEditRow", ""},
      {Way::kDelete, "editingStyle", ""},
      {Way::kDelete, "commitEditingStyle", ""},
      {Way::kDelete, "", "numberOfSections"},  // checking the deletion
      {Way::kDelete, "", "numberOfRows"},
      {Way::kDelete, "", "heightForRow"},  // laying out after it
      {Way::kMove, "canMoveRow", ""},
      {Way::kMove, "moveRow", ""},
      {Way::kChooseIndexTitle, "sectionForSectionIndexTitle", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.destroyIn + c.destroyInOnCommit);
    auto table = std::make_unique<TableView>(Rect{0, 0, 320, 440});
    Saboteur saboteur(table);
    table->setDataSource(&saboteur);
    table->setDelegate(&saboteur);
    window().addSubview(*table);
    const bool editing = c.way == Way::kDelete || c.way == Way::kMove;
    table->setEditing(editing, Animated::No);
    application().layoutIfNeeded();
    ASSERT_NE(table->cellForRowAtIndexPath({0, 2}), nullptr);
    saboteur.destroyIn = c.destroyIn;
    saboteur.destroyInOnCommit = c.destroyInOnCommit;
    TableView& doomed = *table;
    switch (c.way) {
      case Way::kReload:
        doomed.reloadData();
        break;
      case Way::kStartEditing:
        doomed.setEditing(true, Animated::No);
        break;
      case Way::kDelete:
        static_cast<void>(finger.deleteRow(doomed, {0, 1}));
        break;
      case Way::kMove:
        static_cast<void>(finger.moveRow(doomed, {0, 2}, {0, 0}));
        break;
      case Way::kChooseIndexTitle:
        static_cast<void>(finger.chooseSectionIndexTitle(doomed, 0));
        break;
    }
    EXPECT_EQ(table, nullptr);
    EXPECT_FALSE(saboteur.askedWhenGone);
  }
}

// Hands its table over to another data source (or none) from inside a callback.
class Handover : public UnrulySource {
 public:
  Handover(std::string during, TableViewDataSource* next)
      : during_(std::move(during)), next_(next) {
    reloads = 0;
  }
  int numberOfRowsInSection(TableView& table, int section) override {
    if (during_ == "numberOfRows") handOver(table);
    return UnrulySource::numberOfRowsInSection(table, section);
  }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, IndexPath i) override {
    if (during_ == "cellForRow") handOver(table);
    return UnrulySource::cellForRowAtIndexPath(table, i);
  }

 private:
  void handOver(TableView& table) {
    during_.clear();
    table.setDataSource(next_);
  }
  std::string during_;
  TableViewDataSource* next_;
};

TEST_F(TableViewTest, ADataSourceReplacedFromACallbackGivesWayToTheNewOne) {
  Model other;
  other.sections = {rows(5, "new "), rows(1, "new ")};
  DemoScreen next(other);
  for (const std::string during : {"numberOfRows", "cellForRow"}) {
    SCOPED_TRACE(during);
    Handover first(during, &next);
    TableView table(Rect{0, 0, 320, 440});
    table.setDataSource(&first);
    EXPECT_EQ(table.numberOfSections(), 2);
    EXPECT_EQ(table.numberOfRowsInSection(0), 5);
    ASSERT_NE(table.cellForRowAtIndexPath({0, 4}), nullptr);
    EXPECT_EQ(table.cellForRowAtIndexPath({0, 4})->text(), "new 4");

    Handover last(during, nullptr);
    table.setDataSource(&last);
    EXPECT_EQ(table.numberOfSections(), 0);
    EXPECT_TRUE(table.indexPathsForVisibleRows().empty());
  }
}

class Settings : public TableViewController {
 public:
  Settings() : TableViewController(TableViewStyle::kGrouped) {}
  int numberOfRowsInSection(TableView&, int) override { return 2; }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, IndexPath i) override {
    auto cell = std::make_unique<TableViewCell>(Rect{}, "mine");
    cell->setText(i.row == 0 ? "first" : "second");
    return cell;
  }
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath i) override {
    return i.row == 0 ? 30 : 35;
  }
  void didSelectRowAtIndexPath(TableView& table, IndexPath i) override {
    table.deselectRowAtIndexPath(i, Animated::Yes);
    chosen.push_back(i.row);
  }
  std::vector<int> chosen;
};

TEST_F(TableViewTest, ATableViewControllerServesItsOwnTable) {
  Settings settings;
  window().addSubview(settings.view());
  application().layoutIfNeeded();  // the first layout loads the rows
  EXPECT_EQ(settings.tableView().style(), TableViewStyle::kGrouped);
  EXPECT_DOUBLE_EQ(settings.tableView().contentSize().height, 65);
  ASSERT_TRUE(finger.selectRow(settings.tableView(), {0, 1}).ok());
  EXPECT_EQ(settings.chosen, (std::vector<int>{1}));
  EXPECT_EQ(settings.tableView().indexPathForSelectedRow(), std::nullopt);
  settings.setView(std::make_unique<View>());  // not a table: a new one takes its place
  EXPECT_EQ(settings.tableView().numberOfRowsInSection(0), 2);
}

// A list that opened a screen shows its row selected while that screen is up, and no longer
// once the list is shown again; a list that keeps its selection says so.
TEST_F(TableViewTest, AListShownAgainClearsTheRowThatOpenedTheScreenAbove) {
  class Opener : public Settings {
   public:
    void didSelectRowAtIndexPath(TableView&, IndexPath) override {
      navigationController()->pushViewController(above, Animated::Yes);
    }
    ViewController above;
  };
  Opener list;
  NavigationController navigation(list);
  window().addSubview(navigation.view());
  application().layoutIfNeeded();
  ASSERT_TRUE(finger.selectRow(list.tableView(), {0, 1}).ok());
  EXPECT_EQ(navigation.topViewController(), &list.above);
  EXPECT_EQ(list.tableView().indexPathForSelectedRow(), (IndexPath{0, 1}));
  navigation.popViewControllerAnimated(Animated::No);
  EXPECT_EQ(list.tableView().indexPathForSelectedRow(), std::nullopt);

  list.setClearsSelectionOnViewWillAppear(false);
  ASSERT_TRUE(finger.selectRow(list.tableView(), {0, 0}).ok());
  navigation.popViewControllerAnimated(Animated::No);
  EXPECT_EQ(list.tableView().indexPathForSelectedRow(), (IndexPath{0, 0}));
}

}  // namespace
}  // namespace kinetra
