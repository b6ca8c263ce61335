// "Import CSV" on the export page through the finger and on the files: the file picker, the
// logs and custom exercises written once, the label's report, and refused files.
#include "logging/CsvImport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SyntheticLog.h"
#include "logging/LoggingTestSupport.h"
#include "model/ExerciseRecord.h"

namespace kinetra::test {
namespace {

using Dictionary = PropertyList::Dictionary;
using Array = PropertyList::Array;

constexpr std::string_view kWorkoutCsv =
    "Date;Workout Name;Exercise Name;Set Order;Weight;Weight Unit;Reps;RPE;Distance;Distance "
    "Unit;Seconds;Notes;Workout Notes\n"
    "2024-03-01 18:02:11;Pull;Lat Pulldown (Cable);W;30;kg;12;;;;;;\n"
    "2024-03-01 18:02:11;Pull;Lat Pulldown (Cable);1;52,5;kg;10;8;;;;\"slow; controlled\";\n"
    "2024-03-01 18:40:00;Pull;SQUAT;1;100;kg;5;;;;;;\n"
    "2024-03-08 18:02:11;Pull;Lat Pulldown (Cable);1;55;kg;8;;;;;;\n"
    "2024-03-08 18:30:00;Pull;Rowing (Machine);1;;;;;2000;m;480;;\n";

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

class CsvImportTest : public AppTest {
 protected:
  MainInterface& ui() { return app().interface(); }

  void openExportPage() {
    ASSERT_TRUE(finger.selectTab(ui().tabBarController, 4).ok());
    ASSERT_TRUE(finger.selectRow(ui().logTabTableView.tableView(), {1, 0}).ok());
  }

  // Import CSV, then the file chosen in the picker.
  void import(std::string_view text) {
    ASSERT_TRUE(finger.tap(ui().emailImportButton).ok());
    ASSERT_EQ(ui().logNavigationController.topViewController(), &ui().csvPicker);
    ASSERT_TRUE(finger.pickDocument(ui().csvPicker, bytesOf(text)).ok());
  }

  std::string label() { return ui().emailLabel.text(); }

  Finger finger;
};

TEST_F(CsvImportTest, AWorkoutLogsFileBecomesSetsAndCustomExercisesThatCanBeGraphed) {
  writeSmallCatalogue();
  writeDocument("Custom_Exercises.plist",
                Array{Dictionary{{"name", "Band Pull-Apart"}, {"image", "custom"}}});
  launch();
  openExportPage();
  import(kWorkoutCsv);

  EXPECT_EQ(label(), "Imported 5 sets on 2 days.");
  EXPECT_NE(ui().logNavigationController.topViewController(), &ui().csvPicker);
  EXPECT_EQ(readDocument("Kinetra_Log.plist"),
            PropertyList(Dictionary{
                {"Mar 1, 2024",
                 Dictionary{{"Lat Pulldown (Cable)", Array{"30 kg", "12", "warm-up", "52.5 kg",
                                                           "10", "slow; controlled; RPE 8"}},
                            {"Squat", Array{"100 kg", "5", ""}}}},
                {"Mar 8, 2024", Dictionary{{"Lat Pulldown (Cable)", Array{"55 kg", "8", ""}}}}}));
  EXPECT_EQ(readDocument("Kinetra_Aerobics_Log.plist"),
            PropertyList(Dictionary{
                {"Mar 8, 2024", Dictionary{{" rowing", Array{"8", "2000 m", "", "", ""}}}}}));
  // One new exercise, after the one already there, as the editor would have saved it.
  EXPECT_EQ(readDocument("Custom_Exercises.plist"),
            PropertyList(Array{Dictionary{{"name", "Band Pull-Apart"}, {"image", "custom"}},
                               Dictionary{{"name", "Lat Pulldown (Cable)"},
                                          {"image", "custom"},
                                          {"description", ""},
                                          {"target1", "none"},
                                          {"muscle1", "none"},
                                          {"muscle2", "n/a"},
                                          {"difficulty", "none"}}}));
  // It is in the exercise list and the index at once, and its two days make a graph.
  ASSERT_NE(recordNamed(app().exerciseList().exercises, "Lat Pulldown (Cable)"), nullptr);
  app().selection().selectedExercise = "Lat Pulldown (Cable)";
  app().createPreviousDates();
  EXPECT_EQ(app().selection().previousDates,
            (std::vector<std::string>{"Mar 1, 2024", "Mar 8, 2024"}));
  app().updateGraph();
  EXPECT_EQ(ui().noGraph.superview(), nullptr);
}

TEST_F(CsvImportTest, TheSameFileAgainAddsNothingAndRewritesNothing) {
  writeSmallCatalogue();
  launch();
  openExportPage();
  import(kWorkoutCsv);
  const std::string strength = readDocumentBytes("Kinetra_Log.plist");
  const std::string custom = readDocumentBytes("Custom_Exercises.plist");
  const auto written = std::filesystem::last_write_time(documents() / "Kinetra_Log.plist");
  const std::size_t exercises = app().exerciseList().exercises.size();

  import(kWorkoutCsv);
  EXPECT_EQ(label(), "Imported 0 sets; skipped 5 already logged.");
  EXPECT_EQ(readDocumentBytes("Kinetra_Log.plist"), strength);
  EXPECT_EQ(readDocumentBytes("Custom_Exercises.plist"), custom);
  EXPECT_EQ(std::filesystem::last_write_time(documents() / "Kinetra_Log.plist"), written);
  EXPECT_EQ(app().exerciseList().exercises.size(), exercises);
}

TEST_F(CsvImportTest, ADayAndExerciseLoggedByHandKeepItsSets) {
  writeSmallCatalogue();
  writeDocument("Kinetra_Log.plist",
                Dictionary{{"Mar 1, 2024", Dictionary{{"Squat", Array{"90 kg", "3", "mine"}}}}});
  launch();
  openExportPage();
  import(kWorkoutCsv);
  EXPECT_EQ(label(), "Imported 4 sets on 2 days; skipped 1 already logged.");
  const PropertyList log = readDocument("Kinetra_Log.plist");
  EXPECT_EQ(log.asDictionary().at("Mar 1, 2024").asDictionary().at("Squat"),
            PropertyList(Array{"90 kg", "3", "mine"}));
}

// Records gathered before an import take in its sets.
TEST_F(CsvImportTest, RecordsGatheredBeforeAnImportTakeInItsSets) {
  writeSmallCatalogue();
  writeDocument("Kinetra_Log.plist",
                Dictionary{{"Mar 9, 2024", Dictionary{{"Squat", Array{"90 kg", "3", ""}}}}});
  launch();
  ASSERT_EQ(app().records().of(app().userData().exerciseLog, "Squat").heaviest()->weight.amount(),
            90);
  openExportPage();
  import(kWorkoutCsv);
  EXPECT_EQ(app().records().of(app().userData().exerciseLog, "Squat").heaviest()->weight.amount(),
            100);
}

TEST_F(CsvImportTest, RefusedFilesWriteNothingAndSayWhy) {
  writeSmallCatalogue();
  launch();
  openExportPage();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Name,Weight\nBench,60\n",
       "Not imported: its columns are not a Kinetra export or a workout log's."},
      {"Date,Exercise Name,Set Order,Weight,Reps\n2024-03-01,\"Squat,1,100,5\n",
       "Not imported: a quote is left open on line 2."},
      {"Date,Exercise Name,Set Order,Weight,Reps\n2024-03-01,Squat\xFF,1,100,5\n",
       "Not imported: the file is not UTF-8 text on line 2."},
      {"", "Not imported: its columns are not a Kinetra export or a workout log's."},
      {"Date,Exercise Name,Set Order,Weight,Reps\n", "The file holds no sets to import."},
  };
  for (const auto& [text, message] : cases) {
    import(text);
    EXPECT_EQ(label(), message) << text;
  }
  EXPECT_TRUE(documentNames().empty());
}

TEST_F(CsvImportTest, TheFilePickerRefusesAFileOverItsLimitAndCanBeLeft) {
  writeSmallCatalogue();
  launch();
  openExportPage();
  const std::string before = label();
  ASSERT_TRUE(finger.tap(ui().emailImportButton).ok());
  const std::vector<std::uint8_t> huge(ui().csvPicker.maxBytes() + 1, 'a');
  EXPECT_EQ(finger.pickDocument(ui().csvPicker, huge).code(), Status::Code::kTooLarge);
  EXPECT_EQ(ui().logNavigationController.topViewController(), &ui().csvPicker);
  ASSERT_TRUE(finger.cancelPicker(ui().csvPicker).ok());
  EXPECT_EQ(ui().logNavigationController.topViewController(), &ui().emailView);
  EXPECT_EQ(label(), before);
  EXPECT_TRUE(documentNames().empty());
  EXPECT_EQ(finger.pickDocument(ui().csvPicker, bytesOf(kWorkoutCsv)).code(),
            Status::Code::kNotFound);
}

// Download CSV of ten years of both logs, then Import CSV of it on an empty documents folder:
// the application writes byte for byte the log files it wrote before.
TEST_F(CsvImportTest, TenYearsDownloadedAndImportedIntoAnEmptyFolderAreTheSameFiles) {
  writeSmallCatalogue();
  const PropertyList strength = SyntheticLog::make(SyntheticLog::tenYearsHeavy());
  writeDocument("Kinetra_Log.plist", strength);
  writeDocument("Kinetra_Aerobics_Log.plist", SyntheticLog::aerobicFor(strength));
  launch();
  ASSERT_TRUE(app().userData().saveExerciseLog().ok());
  ASSERT_TRUE(app().userData().saveAerobicsLog().ok());
  const std::string strengthFile = readDocumentBytes("Kinetra_Log.plist");
  const std::string aerobicFile = readDocumentBytes("Kinetra_Aerobics_Log.plist");
  openExportPage();
  ASSERT_TRUE(finger.tap(ui().emailDownloadButton).ok());
  std::vector<FileToSave> files = application().takeFilesToSave();
  ASSERT_EQ(files.size(), 1u);
  const std::vector<std::uint8_t> csv = *files[0].contents();

  shutDown();
  std::filesystem::remove_all(documents());
  relaunch();
  openExportPage();
  ASSERT_TRUE(finger.tap(ui().emailImportButton).ok());
  ASSERT_TRUE(finger.pickDocument(ui().csvPicker, csv).ok());
  EXPECT_EQ(label().substr(0, 9), "Imported ");
  EXPECT_EQ(label().find("skipped"), std::string::npos) << label();
  EXPECT_TRUE(readDocumentBytes("Kinetra_Log.plist") == strengthFile);
  EXPECT_TRUE(readDocumentBytes("Kinetra_Aerobics_Log.plist") == aerobicFile);
  EXPECT_EQ(app().userData().customExercises.size(),
            static_cast<std::size_t>(SyntheticLog::kExerciseNames));
}

}  // namespace
}  // namespace kinetra::test
