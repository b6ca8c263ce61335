// The graph of a log kept in both units, shown by the exercise screen's bar control.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "graph/GraphPlot.h"
#include "ui/Finger.h"

namespace kinetra::test {
namespace {

class GraphUnitsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    launch();
  }
  MainInterface& ui() { return app().interface(); }

  void logSquat(const std::string& day, PropertyList::Array sets) {
    app().userData().exerciseLog.asDictionary()[day] =
        PropertyList::Dictionary{{"Squat", std::move(sets)}};
  }
  void openGraph() {
    app().selection().selectedExercise = "Squat";
    app().flags().doneLogo = true;
    ui().velomarNavigationTitle.setRightBarButtonItem(ui().segmentBarItem.get());
    app().velomarTabSelect();
    ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 2).ok());
  }

  Finger finger;
};

TEST_F(GraphUnitsTest, PoundsAndKilogramsArePlottedInTheUnitOfTheLatestSet) {
  logSquat("Mar 1, 2024", {"200 lbs", "5", ""});
  logSquat("Mar 8, 2024", {"100 kg", "5", ""});
  logSquat("Mar 15, 2024", {"95 kg", "5", ""});
  openGraph();
  ASSERT_TRUE(ui().graphView.plot().has_value());
  EXPECT_EQ(ui().graphView.plot()->unitLabel, "kg");
  // 200 lbs is 90.7 kg: no longer the highest point of the three.
  EXPECT_EQ(ui().graphView.plot()->values, (std::vector<std::optional<double>>{90, 100, 95}));

  ASSERT_TRUE(finger.chooseSegment(ui().graphType, 3).ok());
  EXPECT_EQ(ui().graphView.plot()->unitLabel, "reps");
  // The stored texts are never touched.
  EXPECT_EQ(
      app().userData().exerciseLog.asDictionary().at("Mar 1, 2024").asDictionary().at("Squat"),
      PropertyList(PropertyList::Array{"200 lbs", "5", ""}));
}

}  // namespace
}  // namespace kinetra::test
