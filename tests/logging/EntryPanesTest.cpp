// The entry panes on their own: views, user data on a real documents folder and a selection,
// with no application around them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "foundation/ManualClock.h"
#include "foundation/PropertyListReader.h"
#include "foundation/RunLoop.h"
#include "logging/AerobicEntryPane.h"
#include "logging/EntryPaneEditing.h"
#include "logging/EntryPaneViews.h"
#include "logging/StrengthEntryPane.h"
#include "model/EditingFlags.h"
#include "model/RecordBook.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "model/UserFileStore.h"
#include "support/TemporaryDirectory.h"
#include "ui/NavigationItem.h"

namespace kinetra::test {
namespace {

class EntryPanesTest : public ::testing::Test {
 protected:
  EntryPanesTest() {
    loop_.log().setSink([this](std::string_view line) { lines_.emplace_back(line); });
    selection_.today = "Mar 20, 2024";
    selection_.selectedExercise = "Squat";
  }

  LoggingState state() { return {userData_, selection_, flags_, loop_.log(), records_}; }

  PropertyList storedLog(const std::string& file) const {
    Result<PropertyList> value = PropertyListReader::readFile(folder_ / "Documents" / file);
    EXPECT_TRUE(value.ok()) << file;
    return value.ok() ? value.value() : PropertyList();
  }

  testing::TemporaryDirectory folder_;
  RunLoop loop_{std::make_unique<ManualClock>(Date(1.7e9))};
  UserFileStore files_{DocumentsDirectory(folder_ / "Documents"), loop_};
  UserData userData_{files_};
  Selection selection_;
  EditingFlags flags_;
  std::unique_ptr<DateFormatter> days_ = DateFormatter::mediumStyle({"en_US", "UTC"});
  RecordBook records_{*days_};
  EntryPaneViews views_{userData_, selection_, records_};
  std::vector<std::string> lines_;
};

TEST_F(EntryPanesTest, ASetGoesToTodaysEntryToTheFileAndToTheTable) {
  views_.weight.setText("82");
  views_.weightDecimal.setText("5");
  views_.weightType.setSelectedSegmentIndex(1);
  views_.reps.setText("");
  views_.note.setText("slow");
  StrengthEntryPane(views_, state()).addSet();

  const PropertyList expected = PropertyList::Dictionary{
      {"Mar 20, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"82.5 kg", "0", "slow"}}}}};
  EXPECT_EQ(userData_.exerciseLog, expected);
  EXPECT_EQ(storedLog("Kinetra_Log.plist"), expected);
  EXPECT_EQ(selection_.fixedWeight, "82.5 kg");
  EXPECT_EQ(views_.logTableView.numberOfRowsInSection(0), 1);
  EXPECT_TRUE(lines_.empty());
}

TEST_F(EntryPanesTest, PrepareOffersTheLatestDaysFirstSetButNeverItsNote) {
  userData_.exerciseLog = PropertyList::Dictionary{
      {"Mar 18, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", "heavy"}}}}};
  selection_.previousDates = {"Mar 18, 2024"};
  views_.note.setText("left over");
  flags_.logEditing = true;
  StrengthEntryPane(views_, state()).prepare();

  EXPECT_EQ(views_.weight.text(), "100");
  EXPECT_EQ(views_.weightType.selectedSegmentIndex(), 1);
  EXPECT_EQ(views_.reps.text(), "5");
  EXPECT_EQ(views_.note.text(), "");
  EXPECT_FALSE(flags_.logEditing);
  EXPECT_EQ(views_.logTableView.numberOfRowsInSection(0), 0);  // nothing logged today
}

TEST_F(EntryPanesTest, DeletingATodaysRowWritesTheLogWithoutIt) {
  userData_.aerobicsLog = PropertyList::Dictionary{
      {"Mar 20, 2024",
       PropertyList::Dictionary{
           {"Squat", PropertyList::Array{"1", "2", "3", "4", "a", "5", "6", "7", "8", "b"}}}}};
  TableView& table = views_.aerobicsTableView;
  ASSERT_EQ(table.numberOfRowsInSection(0), 2);
  views_.aerobicsTableController.commitEditingStyle(table, TableViewCellEditingStyle::kDelete,
                                                    {0, 0});

  const PropertyList expected = PropertyList::Dictionary{
      {"Mar 20, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"5", "6", "7", "8", "b"}}}}};
  EXPECT_EQ(storedLog("Kinetra_Aerobics_Log.plist"), expected);
  EXPECT_EQ(table.numberOfRowsInSection(0), 1);
}

TEST_F(EntryPanesTest, FiveEmptyAerobicFieldsLogNothingAndWriteNothing) {
  AerobicEntryPane(views_, state()).addSet();
  EXPECT_EQ(userData_.aerobicsLog, PropertyList(PropertyList::Dictionary{}));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "Documents"));
}

TEST_F(EntryPanesTest, EditingTakesTheLeaveButtonAwayAndPutsItBack) {
  NavigationItem bar;
  bar.setLeftBarButtonItem(&views_.logDoneButton);
  EntryPaneEditing(views_, bar, state()).toggle();
  EXPECT_TRUE(flags_.logEditing);
  EXPECT_TRUE(views_.logTableView.isEditing());
  EXPECT_EQ(bar.leftBarButtonItem(), nullptr);
  EXPECT_EQ(views_.logEditButton.title(), "Done");

  EntryPaneEditing(views_, bar, state()).toggle();
  EXPECT_FALSE(flags_.logEditing);
  EXPECT_FALSE(views_.logTableView.isEditing());
  EXPECT_EQ(bar.leftBarButtonItem(), &views_.logDoneButton);
  EXPECT_EQ(views_.logEditButton.title(), "Edit");
}

}  // namespace
}  // namespace kinetra::test
