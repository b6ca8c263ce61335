#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "catalogue/MuscleHotSpots.h"
#include "ui/Finger.h"

namespace kinetra::test {
namespace {

PropertyList exercise(const std::string& name, PropertyList::Dictionary muscles) {
  PropertyList::Dictionary fields{{"name", name}, {"image", "custom"}, {"target1", "Chest"}};
  for (auto& [key, value] : muscles) fields[key] = value;
  return fields;
}

class BodyMapTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeResource("Targets", PropertyList::Array{PropertyList("Chest")});
    writeResource(
        "Exercises",
        PropertyList::Array{
            exercise("Bench Press", {{"muscle1", "Pectoralis"}, {"muscle2", "Deltoids"}}),
            exercise("Fly", {{"muscle1", "Pectoralis"}, {"muscle3", "Pectoralis"}}),
            exercise("Press Up", {{"muscle1", "Triceps Brachii"}, {"muscle4", "Pectoralis"}}),
            exercise("Dip", {{"muscle2", "Pectoralis"}, {"muscle3", "Pectoralis"}}),
            exercise("Lateral Raise", {{"muscle1", "Deltoids "}})});
    launch();
    ASSERT_TRUE(Finger().selectTab(ui().tabBarController, 1).ok());
    // Row 1 of a one-region menu: "exercises by muscle".
    ASSERT_TRUE(Finger().selectRow(ui().targetMenu.tableView(), {0, 1}).ok());
    ASSERT_EQ(ui().targetNavigationController.topViewController(), &ui().body);
  }

  MainInterface& ui() { return app().interface(); }

  // Touches the map at `point` (the body view's points) with no label in the way; the muscle
  // then chosen, or "-" when the label stays hidden.
  std::string touch(Point point) {
    ui().body.hideLabel();
    app().selection().selectedTarget = "-";
    EXPECT_TRUE(Finger().tap(ui().body.view(), point).ok());
    const bool shown = ui().body.labelShown();
    EXPECT_EQ(shown, app().selection().selectedTarget != "-") << point.x << ", " << point.y;
    return app().selection().selectedTarget;
  }

  std::vector<std::string> names(const ExerciseRecords& records) {
    std::vector<std::string> result;
    for (const ExerciseRecord& record : records) {
      result.emplace_back(recordString(*record, "name").value_or("?"));
    }
    return result;
  }
};

TEST_F(BodyMapTest, EdgesAndOverlapsDecideTheMuscle) {
  EXPECT_EQ(touch({126, 62}), "Deltoids");  // left and top edges are in
  EXPECT_EQ(touch({150.9, 86.9}), "Deltoids");
  EXPECT_EQ(touch({151, 62}), "-");  // the right edge is out
  EXPECT_EQ(touch({126, 87}), "-");  // and so is the bottom one
  EXPECT_EQ(touch({217, 170}), "Glutes");
  EXPECT_EQ(touch({218, 170}), "-");  // "Glutes" is 22 wide
  // Where spots overlap, the earlier in the table wins.
  EXPECT_EQ(touch({238, 84}), "Trapezius");
  EXPECT_EQ(touch({249.5, 85.5}), "Trapezius");
  EXPECT_EQ(touch({249.5, 86}), "Infraspinatus");
  EXPECT_EQ(touch({256, 100}), "Infraspinatus");
  EXPECT_EQ(touch({262.5, 108.5}), "Infraspinatus");
  EXPECT_EQ(touch({263, 108.5}), "Triceps Brachii");
  EXPECT_EQ(touch({216, 113}), "Latissimus Dorsi");
  EXPECT_EQ(touch({220.5, 128.5}), "Latissimus Dorsi");
  EXPECT_EQ(touch({221, 128.5}), "Lower Back");
  EXPECT_EQ(touch({5, 5}), "-");
  // Each of the nineteen answers near its top left corner, but for the three an earlier spot
  // covers there.
  for (const MuscleHotSpot& spot : MuscleHotSpots::all()) {
    const std::string chosen = touch({spot.spot.x + 1, spot.spot.y + 1});
    if (spot.muscle != "Infraspinatus" && spot.muscle != "Triceps Brachii" &&
        spot.muscle != "Lower Back") {
      EXPECT_EQ(chosen, spot.muscle);
    }
  }
}

TEST_F(BodyMapTest, TheLabelStandsAboveItsSpotWithItsExactTitle) {
  Button& label = ui().bodyButtonLabel;
  touch({75, 80});
  EXPECT_EQ(ui().bodyButtonView.center().x, 80);
  EXPECT_EQ(ui().bodyButtonView.center().y, 53);
  for (ControlState state :
       {ControlState::kNormal, ControlState::kHighlighted, ControlState::kSelected}) {
    EXPECT_EQ(label.titleForState(state), "Pectoralis    ");
  }
  EXPECT_EQ(ui().bodyButtonView.superview(), &ui().body.view());
  touch({270, 270});
  EXPECT_EQ(ui().bodyButtonView.center().x, 238);
  EXPECT_EQ(ui().bodyButtonView.center().y, 242);
  EXPECT_EQ(label.currentTitle(), "Soleus  ");
  touch({100, 120});
  EXPECT_EQ(label.currentTitle(), "Rectus Abdominis        ");
  touch({130, 70});
  EXPECT_EQ(label.currentTitle(), "Deltoids");

  // A touch beside every spot hides the label and keeps the muscle chosen before.
  ASSERT_TRUE(Finger().tap(ui().body.view(), {5, 300}).ok());
  EXPECT_FALSE(ui().body.labelShown());
  EXPECT_EQ(app().selection().selectedTarget, "Deltoids");
  // Where the label stood, a touch is only a touch on the picture now.
  ASSERT_TRUE(Finger().tap(ui().body.view(), {126, 44}).ok());
  EXPECT_FALSE(ui().body.labelShown());
  EXPECT_EQ(ui().targetNavigationController.topViewController(), &ui().body);
}

TEST_F(BodyMapTest, TappingTheLabelListsPrimaryAndSecondaryExercises) {
  touch({75, 80});
  ASSERT_TRUE(Finger().tap(ui().bodyButtonLabel).ok());
  EXPECT_EQ(ui().targetNavigationController.topViewController(), &ui().muscleTableView2);
  EXPECT_EQ(ui().MuscleNavigationTitle.title(), "Pectoralis");
  // "Fly" names it twice and is under both headers, once in each.
  EXPECT_EQ(names(app().selection().primaryMuscle),
            (std::vector<std::string>{"Bench Press", "Fly"}));
  EXPECT_EQ(names(app().selection().additionalMuscle),
            (std::vector<std::string>{"Fly", "Press Up", "Dip"}));
  TableView& list = ui().muscleTableView2.tableView();
  EXPECT_EQ(list.numberOfRowsInSection(0), 2);
  EXPECT_EQ(list.numberOfRowsInSection(1), 3);
}

TEST_F(BodyMapTest, AMuscleNoExerciseNamesStillOpensItsEmptyLists) {
  // "Lateral Raise" names "Deltoids " with a blank: the comparison is exact.
  touch({130, 70});
  ASSERT_TRUE(Finger().tap(ui().bodyButtonLabel).ok());
  EXPECT_EQ(ui().targetNavigationController.topViewController(), &ui().muscleTableView2);
  EXPECT_EQ(ui().MuscleNavigationTitle.title(), "Deltoids");
  EXPECT_TRUE(app().selection().primaryMuscle.empty());
  EXPECT_EQ(names(app().selection().additionalMuscle), (std::vector<std::string>{"Bench Press"}));

  ASSERT_TRUE(Finger().tapBackButton(ui().targetNavigationController).ok());
  touch({240, 205});
  ASSERT_TRUE(Finger().tap(ui().bodyButtonLabel).ok());
  EXPECT_EQ(ui().MuscleNavigationTitle.title(), "Hamstrings");
  TableView& list = ui().muscleTableView2.tableView();
  EXPECT_EQ(list.numberOfRowsInSection(0), 0);
  EXPECT_EQ(list.numberOfRowsInSection(1), 0);
  EXPECT_EQ(ui().muscleTableView2.titleForHeaderInSection(list, 0), "Primary Target Exercises");
  EXPECT_EQ(ui().muscleTableView2.titleForHeaderInSection(list, 1), "Secondary Target Exercises");
}

}  // namespace
}  // namespace kinetra::test
