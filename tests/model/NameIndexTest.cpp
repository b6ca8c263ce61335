// The sections of the complete exercise list: exact first-character keys in the locale's
// case-insensitive order, records in list order within a section.
#include "model/NameIndex.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/ModelTestSupport.h"

namespace kinetra::test {
namespace {

ExerciseRecords records(const std::vector<std::string>& names) {
  ExerciseRecords list;
  for (const std::string& name : names) {
    list.push_back(std::make_shared<PropertyList>(exerciseRecord(name)));
  }
  return list;
}

TEST(NameIndexTest, BlankComesFirstThenLettersRegardlessOfCase) {
  NameIndex index("en_US");
  NameIndex::Sections sections;
  std::vector<std::string> keys;
  index.build(records({"Squat", "bench press", " treadmill", "Arnold Press", "curl"}), sections,
              keys);
  EXPECT_EQ(keys, (std::vector<std::string>{" ", "A", "b", "c", "S"}));
}

TEST(NameIndexTest, ALowerCaseInitialOpensItsOwnSectionNextToTheUpperCaseOne) {
  NameIndex index("en_US");
  NameIndex::Sections sections;
  std::vector<std::string> keys;
  index.build(records({"Row", "Deadlift", "dip", "Dumbbell Fly", "Crunch", "Plank"}), sections,
              keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"C", "d", "D", "P", "R"}));
  EXPECT_EQ(namesOf(sections.at("D")), (std::vector<std::string>{"Deadlift", "Dumbbell Fly"}));
  EXPECT_EQ(namesOf(sections.at("d")), std::vector<std::string>{"dip"});
}

TEST(NameIndexTest, KeysFollowTheLocaleNotByteOrder) {
  NameIndex index("en_US");
  NameIndex::Sections sections;
  std::vector<std::string> keys;
  // In byte order "É" (0xC3 0x89) would come after every ASCII letter.
  index.build(records({"Zercher Squat", "Étirement", "Front Squat", "Ab Wheel"}), sections, keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"A", "É", "F", "Z"}));
  EXPECT_LT(index.compare("b", "S"), 0);
  EXPECT_EQ(index.compare("squat", "SQUAT"), 0);
}

TEST(NameIndexTest, RecordsWithoutAUsableNameAreLeftOut) {
  NameIndex index("en_US");
  ExerciseRecords list = records({"Squat"});
  list.push_back(std::make_shared<PropertyList>(PropertyList::Dictionary{{"image", "x"}}));
  list.push_back(std::make_shared<PropertyList>(PropertyList::Dictionary{{"name", ""}}));
  list.push_back(
      std::make_shared<PropertyList>(PropertyList::Dictionary{{"name", PropertyList::Array{}}}));
  list.push_back(std::make_shared<PropertyList>("not a record"));
  list.push_back(nullptr);
  NameIndex::Sections sections;
  std::vector<std::string> keys;
  index.build(list, sections, keys);
  EXPECT_EQ(keys, std::vector<std::string>{"S"});
}

TEST(NameIndexTest, FirstCharacterTakesAWholeCodePoint) {
  EXPECT_EQ(NameIndex::firstCharacter("Élan"), "É");
  EXPECT_EQ(NameIndex::firstCharacter("\xF0\x9F\x92\xAA curl"), "\xF0\x9F\x92\xAA");
  EXPECT_EQ(NameIndex::firstCharacter(" rowing"), " ");
  EXPECT_EQ(NameIndex::firstCharacter(""), "");
  // A truncated sequence yields what there is, never more.
  EXPECT_EQ(NameIndex::firstCharacter("\xE2\x82"), "\xE2\x82");
}

}  // namespace
}  // namespace kinetra::test
