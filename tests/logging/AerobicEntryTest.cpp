#include <gtest/gtest.h>

#include "logging/LoggingTestSupport.h"

namespace kinetra::test {
namespace {

using Strings = std::vector<std::string>;

class AerobicEntryTest : public LoggingTest {
 protected:
  void addSet() { ASSERT_TRUE(finger.tap(ui().aerobicsAddButton).ok()); }
  std::vector<TextField*> fields() {
    return {&ui().aerobicsField1, &ui().aerobicsField2, &ui().aerobicsField3, &ui().aerobicsField4,
            &ui().aerobicsField5};
  }
};

TEST_F(AerobicEntryTest, FiveEmptyFieldsAddNothing) {
  openPane(" treadmill");
  ASSERT_TRUE(finger.tap(ui().aerobicsField2).ok());
  addSet();
  EXPECT_FALSE(app().userData().aerobicsLog.asDictionary().contains(kToday));
  EXPECT_TRUE(documentNames().empty());
  // The keyboard stays.
  EXPECT_TRUE(ui().aerobicsField2.isFirstResponder());
}

TEST_F(AerobicEntryTest, StoresTheFourValuesAndTheNote) {
  openPane(" treadmill");
  type(ui().aerobicsField1, "30");
  type(ui().aerobicsField2, "6.5");
  type(ui().aerobicsField3, "2");
  type(ui().aerobicsField4, "350");
  addSet();
  const Strings expected{"30", "6.5", "2", "350", ""};
  EXPECT_EQ(entryOf(app().userData().aerobicsLog, kToday, " treadmill"), expected);
  EXPECT_EQ(entryOf(readDocument("Kinetra_Aerobics_Log.plist"), kToday, " treadmill"), expected);
  EXPECT_FALSE(ui().aerobicsField4.isFirstResponder());
  EXPECT_EQ(rowTexts(ui().aerobicsTableView),
            (Strings{"Set 1, 30(Duration), 6.5(Speed), 2(Elevation), 350(Calories)"}));
  EXPECT_FALSE(app().userData().exerciseLog.asDictionary().contains(kToday));
}

TEST_F(AerobicEntryTest, OnlyANoteIsStoredWithEmptyValues) {
  openPane(" rowing");
  type(ui().aerobicsField5, "intervals");
  addSet();
  EXPECT_EQ(entryOf(app().userData().aerobicsLog, kToday, " rowing"),
            (Strings{"", "", "", "", "intervals"}));
  EXPECT_EQ(rowTexts(ui().aerobicsTableView), (Strings{"Set 1"}));
}

TEST_F(AerobicEntryTest, PrefillsTheValuesOfTheFirstSetOfTheLatestDay) {
  app().userData().aerobicsLog = PropertyList::Dictionary{
      {"Mar 12, 2024",
       PropertyList::Dictionary{{" rowing", PropertyList::Array{"10", "1", "", "", ""}}}},
      {"Mar 15, 2024",
       PropertyList::Dictionary{{" rowing", PropertyList::Array{"20", "4000", "150", "", "hard",
                                                                "25", "5000", "155", "", ""}}}}};
  ui().aerobicsField5.setText("left over");
  openPane(" rowing");
  Strings shown;
  for (TextField* field : fields()) shown.push_back(field->text());
  EXPECT_EQ(shown, (Strings{"20", "4000", "150", "", ""}));
}

TEST_F(AerobicEntryTest, NeverLoggedOpensWithEmptyFields) {
  for (TextField* field : fields()) field->setText("x");
  openPane(" treadmill");
  for (TextField* field : fields()) EXPECT_EQ(field->text(), "");
}

// Empty fields say which value of the exercise's kind they take, as its log rows label them;
// another kind names them anew.
TEST_F(AerobicEntryTest, TheValueFieldsAreNamedAfterTheKindsValues) {
  openPane(" treadmill");
  Strings names;
  for (TextField* field : fields()) names.push_back(field->placeholder());
  EXPECT_EQ(names, (Strings{"Duration", "Speed", "Elevation", "Calories", "note"}));
  openPane(" swimming");
  EXPECT_EQ(ui().aerobicsField2.placeholder(), "Distance");
  EXPECT_EQ(ui().aerobicsField4.placeholder(), "Laps");
}

TEST_F(AerobicEntryTest, ASetIsRefusedRatherThanReplacingAForeignEntry) {
  const PropertyList foreign = PropertyList::Dictionary{{"minutes", "30"}};
  writeDocument("Kinetra_Aerobics_Log.plist",
                PropertyList::Dictionary{{kToday, PropertyList::Dictionary{{" rowing", foreign}}}});
  const std::string before = readDocumentBytes("Kinetra_Aerobics_Log.plist");
  relaunch();
  openPane(" rowing");
  type(ui().aerobicsField1, "12");
  addSet();
  EXPECT_TRUE(rowTexts(ui().aerobicsTableView).empty());
  EXPECT_EQ(readDocumentBytes("Kinetra_Aerobics_Log.plist"), before);
  EXPECT_EQ(*app().userData().aerobicsLog.find(kToday)->find(" rowing"), foreign);
  ASSERT_FALSE(lines().empty());
  EXPECT_NE(lines().back().find("Set not logged"), std::string::npos) << lines().back();
}

}  // namespace
}  // namespace kinetra::test
