#include "foundation/Timer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ManualClock.h"
#include "foundation/RunLoop.h"

namespace kinetra {
namespace {

// A run loop on a manual clock that starts at 1000 s.
class ManualTimerTest : public ::testing::Test {
 protected:
  ManualTimerTest() : loop_(makeClock()) {}

  std::unique_ptr<Clock> makeClock() {
    auto clock = std::make_unique<ManualClock>(Date(1000));
    clock_ = clock.get();
    return clock;
  }

  // Records "<name>@<now>" when the timer fires.
  Timer record(const std::string& name, double seconds) {
    return loop_.schedule(seconds, [this, name] { fired_.push_back(firing(name)); });
  }
  std::string firing(const std::string& name) {
    return name + "@" + std::to_string(static_cast<int>(loop_.now().timeIntervalSince1970()));
  }

  ManualClock* clock_ = nullptr;
  RunLoop loop_;
  std::vector<std::string> fired_;
};

TEST_F(ManualTimerTest, TimeStandsStillUntilAdvanced) {
  Timer timer = record("a", 5);
  loop_.runPending();
  EXPECT_EQ(loop_.now(), Date(1000));
  clock_->advance(4.5);
  EXPECT_TRUE(fired_.empty());
  EXPECT_TRUE(timer.isValid());
  clock_->advance(0.5);
  EXPECT_EQ(fired_, std::vector<std::string>{"a@1005"});
  EXPECT_FALSE(timer.isValid());
  EXPECT_EQ(loop_.now(), Date(1005));
}

TEST_F(ManualTimerTest, FiresInDueOrderWithTiesInSchedulingOrderEachAtItsOwnTime) {
  Timer late = record("late", 20);
  Timer tieFirst = record("tie1", 8);
  Timer early = record("early", 3);
  Timer tieSecond = record("tie2", 8);
  clock_->advance(60);
  EXPECT_EQ(fired_,
            (std::vector<std::string>{"early@1003", "tie1@1008", "tie2@1008", "late@1020"}));
  EXPECT_EQ(loop_.now(), Date(1060));
}

TEST_F(ManualTimerTest, AdvanceToAMomentFiresWhatIsDueByThen) {
  Timer a = record("a", 10);
  Timer b = record("b", 11);
  clock_->advanceTo(Date(1010));
  EXPECT_EQ(fired_, std::vector<std::string>{"a@1010"});
  clock_->advanceTo(Date(900));  // the past: nothing moves
  EXPECT_EQ(loop_.now(), Date(1010));
  EXPECT_TRUE(b.isValid());
}

TEST_F(ManualTimerTest, InvalidatedOrDroppedTimersNeverFire) {
  Timer kept = record("kept", 1);
  Timer invalidated = record("invalidated", 2);
  invalidated.invalidate();
  EXPECT_FALSE(invalidated.isValid());
  { Timer dropped = record("dropped", 3); }
  Timer overwritten = record("overwritten", 4);
  overwritten = record("replacement", 5);
  clock_->advance(10);
  EXPECT_EQ(fired_, (std::vector<std::string>{"kept@1001", "replacement@1005"}));
  EXPECT_EQ(clock_->pendingTimerCount(), 0u);
}

TEST_F(ManualTimerTest, ATimerInvalidatedByAnEarlierCallbackDoesNotFire) {
  Timer victim;
  Timer killer = loop_.schedule(8, [&] {
    fired_.push_back(firing("killer"));
    victim.invalidate();
  });
  victim = record("victim", 8);  // same due time, scheduled later
  Timer survivor = record("survivor", 9);
  clock_->advance(20);
  EXPECT_EQ(fired_, (std::vector<std::string>{"killer@1008", "survivor@1009"}));
}

TEST_F(ManualTimerTest, TimersScheduledWhileFiringFireInTheSameAdvanceWhenDue) {
  Timer inner;
  Timer beyond;
  Timer zero;
  Timer outer = loop_.schedule(5, [&] {
    fired_.push_back(firing("outer"));
    inner = record("inner", 3);     // due 1008, inside the span
    beyond = record("beyond", 30);  // due 1035, outside
    zero = record("zero", 0);       // due now, after outer
  });
  Timer between = record("between", 6);
  clock_->advance(10);
  EXPECT_EQ(fired_,
            (std::vector<std::string>{"outer@1005", "zero@1005", "between@1006", "inner@1008"}));
  EXPECT_TRUE(beyond.isValid());
  EXPECT_EQ(loop_.now(), Date(1010));
  clock_->advance(25);
  EXPECT_EQ(fired_.back(), "beyond@1035");
}

// The SMTP client clears its connect timer from inside the timer's own callback, and its
// owner may go away with timers still pending: neither may touch freed memory.
TEST_F(ManualTimerTest, ClearingTheFiringTimersHandleFromItsCallbackIsSafe) {
  auto payload = std::make_shared<std::string>("still here");
  Timer self;
  std::string seen;
  self = loop_.schedule(1, [&, payload] {
    self = Timer();  // destroys the handle and the entry's callback copy
    seen = *payload;
  });
  clock_->advance(2);
  EXPECT_EQ(seen, "still here");
  EXPECT_FALSE(self.isValid());
}

TEST_F(ManualTimerTest, CallbackCapturesAreReleasedOnInvalidation) {
  auto payload = std::make_shared<int>(7);
  std::weak_ptr<int> watch = payload;
  Timer timer = loop_.schedule(1, [payload] {});
  payload.reset();
  EXPECT_FALSE(watch.expired());
  timer.invalidate();
  EXPECT_TRUE(watch.expired());
}

TEST_F(ManualTimerTest, HostileAmountsNeverMoveTimeBackwardsOrBreakTheQueue) {
  Timer nan = record("nan", std::numeric_limits<double>::quiet_NaN());
  Timer negative = record("negative", -50);
  Timer huge = record("huge", std::numeric_limits<double>::infinity());
  clock_->advance(-10);
  clock_->advance(std::numeric_limits<double>::quiet_NaN());
  clock_->advance(std::numeric_limits<double>::infinity());
  EXPECT_EQ(loop_.now(), Date(1000));
  EXPECT_EQ(fired_, (std::vector<std::string>{"nan@1000", "negative@1000"}));
  EXPECT_TRUE(huge.isValid());
}

TEST(TimerLifetimeTest, HandlesOutlivingTheirRunLoopStaySafe) {
  Timer survivor;
  bool fired = false;
  {
    RunLoop loop(std::make_unique<ManualClock>());
    survivor = loop.schedule(1, [&] { fired = true; });
    EXPECT_TRUE(survivor.isValid());
  }
  EXPECT_FALSE(survivor.isValid());
  survivor.invalidate();
  EXPECT_FALSE(fired);
}

TEST(SystemClockTimerTest, ARealTimerFiresOnTheLoopAndAnInvalidatedOneDoesNot) {
  RunLoop loop;
  bool cancelledFired = false;
  bool fired = false;
  Timer cancelled = loop.schedule(0.001, [&] { cancelledFired = true; });
  Timer timer = loop.schedule(0.002, [&] { fired = true; });
  cancelled.invalidate();
  EXPECT_FALSE(fired);  // never synchronously
  EXPECT_TRUE(loop.runUntil([&] { return fired; }, 5));
  EXPECT_FALSE(cancelledFired);
  EXPECT_FALSE(timer.isValid());
}

TEST(SystemClockTimerTest, NowIsTheWallClock) {
  RunLoop loop;
  const double before = static_cast<double>(std::time(nullptr));
  const double now = loop.now().timeIntervalSince1970();
  EXPECT_GE(now, before - 1);
  EXPECT_LE(now, before + 2);
}

}  // namespace
}  // namespace kinetra
