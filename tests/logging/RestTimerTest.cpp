#include <gtest/gtest.h>

#include <functional>

#include "logging/LoggingTestSupport.h"
#include "model/RestLengths.h"
#include "ui/ScreenDescription.h"

namespace kinetra::test {
namespace {

using Strings = std::vector<std::string>;
using Patterns = std::vector<std::vector<int>>;

const Patterns kOneVibration = {{400, 150, 400}};

class RestTimerTest : public LoggingTest {
 protected:
  void SetUp() override {
    LoggingTest::SetUp();
    static_cast<void>(application().takeVibrations());
  }

  RestBar& bar() { return ui().restBar; }
  // What the strip reads, or "(hidden)".
  std::string shown() {
    return bar().bar.isHidden() || bar().bar.window() == nullptr ? "(hidden)" : bar().time.text();
  }
  void addSet() { ASSERT_TRUE(finger.tap(ui().logAddButton).ok()); }
  void tap(Button& button) { ASSERT_TRUE(finger.tap(button).ok()); }
  void logSquat() {
    openPane("Squat");
    type(ui().weight, "100");
    type(ui().reps, "5");
    addSet();
  }
  PropertyList storedLengths() {
    const PropertyList settings = readDocument("settings.plist");
    const PropertyList* lengths = settings.find(RestLengths::kKey);
    return lengths != nullptr ? *lengths : PropertyList();
  }
  // Settings on disk, then a new process on them with the Squat pane open.
  void relaunchWithSettings(const PropertyList& settings) {
    writeDocument("settings.plist", settings);
    relaunch();
    static_cast<void>(application().takeVibrations());
  }

  // The texts of every label a new description of the screen holds, as a reloaded page gets it.
  Strings describedLabels() {
    Strings texts;
    const ScreenDescription screen = application().describeScreen();
    std::function<void(const ViewDescription&)> walk = [&](const ViewDescription& view) {
      if (view.kind == "label" && view.text) texts.push_back(*view.text);
      for (const ViewDescription& subview : view.subviews) walk(subview);
    };
    walk(screen.window);
    return texts;
  }
  static bool contains(const Strings& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
};

TEST_F(RestTimerTest, ASetStartsTheRestWhichCountsDownEverySecond) {
  openPane("Squat");
  EXPECT_EQ(shown(), "(hidden)");
  type(ui().reps, "5");
  addSet();
  EXPECT_EQ(shown(), "Rest 01:30");
  clock().advance(1);
  EXPECT_EQ(shown(), "Rest 01:29");
  clock().advance(0.5);
  EXPECT_EQ(shown(), "Rest 01:29") << "a part of a second still counts as one left";
  clock().advance(59);
  EXPECT_EQ(shown(), "Rest 00:30");
  clock().advance(29);
  EXPECT_EQ(shown(), "Rest 00:01");
  EXPECT_EQ(app().restTimer().exercise(), "Squat");
}

TEST_F(RestTimerTest, TheStripCoversNoFieldAndCancelPutsItAway) {
  logSquat();
  const Rect strip = bar().bar.frame();
  for (View* view :
       std::initializer_list<View*>{&ui().weight, &ui().weightDecimal, &ui().weightType, &ui().reps,
                                    &ui().note, &ui().logAddButton, &ui().loggingTabTableView}) {
    const Rect frame = view->frame();
    EXPECT_LE(frame.y + frame.height, strip.y) << view->kind();
  }
  const Rect table = ui().logTableView.frame();
  EXPECT_DOUBLE_EQ(table.y + table.height, strip.y);
  EXPECT_DOUBLE_EQ(strip.y + strip.height, ui().kinetraLogView.bounds().height);

  clock().advance(30);
  tap(bar().cancel);
  EXPECT_EQ(shown(), "(hidden)");
  clock().advance(120);
  EXPECT_EQ(shown(), "(hidden)");
  EXPECT_TRUE(application().takeVibrations().empty()) << "a cancelled rest never ends";
  EXPECT_EQ(app().restTimer().phase(), RestTimer::Phase::kIdle);
  EXPECT_DOUBLE_EQ(ui().logTableView.frame().y + ui().logTableView.frame().height,
                   ui().kinetraLogView.bounds().height)
      << "the table takes the strip's place back";
}

TEST_F(RestTimerTest, ShorterAndLongerMoveTheTimeLeftAndStayWithinBounds) {
  logSquat();
  clock().advance(10);
  tap(bar().longer);
  EXPECT_EQ(shown(), "Rest 01:35");
  EXPECT_EQ(app().restTimer().lengthSeconds(), 105);
  tap(bar().shorter);
  tap(bar().shorter);
  EXPECT_EQ(shown(), "Rest 01:05");

  for (int i = 0; i < 50; ++i) tap(bar().longer);
  EXPECT_EQ(app().restTimer().lengthSeconds(), RestLengths::kMaximumSeconds);
  EXPECT_EQ(shown(), "Rest 09:50");
  EXPECT_FALSE(bar().longer.isEnabled());
  EXPECT_TRUE(bar().shorter.isEnabled());
  EXPECT_EQ(storedLengths(), PropertyList(PropertyList::Dictionary{{"Squat", "600"}}));

  for (int i = 0; i < 38; ++i) tap(bar().shorter);
  EXPECT_EQ(app().restTimer().lengthSeconds(), 30);
  EXPECT_EQ(shown(), "Rest 00:20");
  tap(bar().shorter);
  EXPECT_EQ(shown(), "Rest 00:05");
  EXPECT_FALSE(bar().shorter.isEnabled());
  tap(bar().shorter);  // at the minimum: nothing happens
  EXPECT_EQ(app().restTimer().lengthSeconds(), RestLengths::kMinimumSeconds);
  EXPECT_EQ(shown(), "Rest 00:05");
  EXPECT_EQ(storedLengths(), PropertyList(PropertyList::Dictionary{{"Squat", "15"}}));
  EXPECT_TRUE(application().takeVibrations().empty());
}

TEST_F(RestTimerTest, ShortenedPastItsEndTheRestIsOverAtOnce) {
  writeDocument("settings.plist", PropertyList::Dictionary{
                                      {"restSeconds", PropertyList::Dictionary{{"Squat", "30"}}}});
  relaunch();
  static_cast<void>(application().takeVibrations());
  logSquat();
  clock().advance(20);
  tap(bar().shorter);
  EXPECT_EQ(shown(), "Rest over");
  EXPECT_EQ(application().takeVibrations(), kOneVibration);
  EXPECT_EQ(app().restTimer().lengthSeconds(), 15);
  tap(bar().cancel);  // "OK"
  EXPECT_EQ(shown(), "(hidden)");
}

TEST_F(RestTimerTest, AtZeroTheDeviceVibratesOnceAndTheEndShowsForAWhile) {
  logSquat();
  const std::string logBytes = readDocumentBytes("Kinetra_Log.plist");
  const Strings filesAfterTheSet = documentNames();
  clock().advance(89.5);
  EXPECT_TRUE(application().takeVibrations().empty());
  clock().advance(0.5);
  EXPECT_EQ(shown(), "Rest over");
  EXPECT_TRUE(bar().shorter.isHidden() && bar().longer.isHidden());
  EXPECT_EQ(bar().cancel.currentTitle(), "OK");
  EXPECT_EQ(application().takeVibrations(), kOneVibration);
  clock().advance(RestTimer::kOverSeconds - 0.5);
  EXPECT_EQ(shown(), "Rest over");
  clock().advance(0.5);
  EXPECT_EQ(shown(), "(hidden)");
  clock().advance(600);
  EXPECT_TRUE(application().takeVibrations().empty()) << "once per rest";
  EXPECT_EQ(runLoop().clock().pendingTimerCount(), 1U) << "only the day-change timer is left";

  // The logs hold the one set; no file was written or added by the rest.
  EXPECT_EQ(readDocumentBytes("Kinetra_Log.plist"), logBytes);
  EXPECT_EQ(documentNames(), filesAfterTheSet);
  EXPECT_EQ(entryOf(app().userData().exerciseLog, kToday, "Squat"), (Strings{"100 lbs", "5", ""}));
}

TEST_F(RestTimerTest, EachSetRestartsTheRestWithItsExercisesLength) {
  relaunchWithSettings(
      PropertyList::Dictionary{{"restSeconds", PropertyList::Dictionary{{"bench press", "45"}}}});
  logSquat();
  clock().advance(40);
  addSet();
  EXPECT_EQ(shown(), "Rest 01:30");
  clock().advance(89);
  EXPECT_TRUE(application().takeVibrations().empty()) << "the first rest's end was dropped";

  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  openPane("bench press");
  EXPECT_EQ(shown(), "Rest 00:01") << "the rest under way shows on the next pane";
  addSet();
  EXPECT_EQ(shown(), "Rest 00:45");
  EXPECT_EQ(app().restTimer().exercise(), "bench press");
}

TEST_F(RestTimerTest, ChangedLengthsAreRememberedPerExerciseAcrossARestart) {
  relaunchWithSettings(PropertyList::Dictionary{{"email", "lifter@example.org"}});
  logSquat();
  tap(bar().longer);
  tap(bar().longer);
  openPane("bench press");
  addSet();
  tap(bar().shorter);
  EXPECT_EQ(
      readDocument("settings.plist"),
      PropertyList(PropertyList::Dictionary{
          {"email", "lifter@example.org"},
          {"restSeconds", PropertyList::Dictionary{{"Squat", "120"}, {"bench press", "75"}}}}));

  relaunch();
  logSquat();
  EXPECT_EQ(shown(), "Rest 02:00");
  openPane("Zottman Curl");
  addSet();
  EXPECT_EQ(shown(), "Rest 01:30");
  openPane("bench press");
  addSet();
  EXPECT_EQ(shown(), "Rest 01:15");
}

TEST_F(RestTimerTest, MalformedRememberedLengthsRestTheDefaultAndAreMendedOnChange) {
  // Each kind of fault once; RestLengthsTest reads every malformed length.
  const std::vector<PropertyList> malformed = {
      PropertyList::Array{"Squat", "120"},
      PropertyList::Dictionary{{"Squat", "two minutes"}},
      PropertyList::Dictionary{{"Squat", "9000"}},
  };
  for (const PropertyList& value : malformed) {
    relaunchWithSettings(
        PropertyList::Dictionary{{"email", "lifter@example.org"}, {"restSeconds", value}});
    logSquat();
    EXPECT_EQ(shown(), "Rest 01:30");
    tap(bar().longer);
    const PropertyList settings = readDocument("settings.plist");
    EXPECT_EQ(settings, PropertyList(PropertyList::Dictionary{
                            {"email", "lifter@example.org"},
                            {"restSeconds", PropertyList::Dictionary{{"Squat", "105"}}}}));
  }
}

TEST_F(RestTimerTest, ARestKeepsCountingAwayFromThePaneAndAReloadedPageShowsIt) {
  logSquat();
  clock().advance(20);
  EXPECT_TRUE(contains(describedLabels(), "Rest 01:10"));

  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  clock().advance(10);
  EXPECT_FALSE(contains(describedLabels(), "Rest 01:00")) << "not shown off the pane";
  EXPECT_EQ(app().restTimer().remainingSeconds(), 60);

  openPane("Squat");
  EXPECT_TRUE(contains(describedLabels(), "Rest 01:00"));
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  clock().advance(60);
  EXPECT_EQ(application().takeVibrations(), kOneVibration) << "the end is felt off the pane";
}

TEST_F(RestTimerTest, ASetThatWasNotLoggedStartsNoRest) {
  app().userData().exerciseLog =
      PropertyList::Dictionary{{kToday, PropertyList::Dictionary{{"Squat", "not a list of sets"}}}};
  openPane("Squat");
  addSet();
  EXPECT_EQ(shown(), "(hidden)");
  EXPECT_EQ(app().restTimer().phase(), RestTimer::Phase::kIdle);
}

TEST_F(RestTimerTest, AnAerobicSetStartsNoRest) {
  openPane(" treadmill");
  type(ui().aerobicsField1, "20");
  ASSERT_TRUE(finger.tap(ui().aerobicsAddButton).ok());
  EXPECT_EQ(app().restTimer().phase(), RestTimer::Phase::kIdle);
  clock().advance(600);
  EXPECT_TRUE(application().takeVibrations().empty());
}

}  // namespace
}  // namespace kinetra::test
