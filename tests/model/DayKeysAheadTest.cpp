#include "model/DayKeysAhead.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/ManualClock.h"

namespace kinetra {
namespace {

PropertyList logOfDays(int count) {
  PropertyList::Dictionary days;
  for (int i = 0; i < count; ++i) {
    days.emplace("day " + std::to_string(i), PropertyList::Dictionary{});
  }
  return days;
}

class DayKeysAheadTest : public ::testing::Test {
 protected:
  ManualClock* clock_ = nullptr;
  std::unique_ptr<RunLoop> loop_ = [this] {
    auto clock = std::make_unique<ManualClock>(Date(1000));
    clock_ = clock.get();
    return std::make_unique<RunLoop>(std::move(clock));
  }();
  std::unique_ptr<DateFormatter> days_ = DateFormatter::mediumStyle({"en_US", "UTC"});
};

TEST_F(DayKeysAheadTest, ReadsEveryKeyOfTheLogsASliceAtATimeFromTheNextTurn) {
  const PropertyList strength = logOfDays(300);
  const PropertyList aerobics = logOfDays(10);
  const PropertyList broken("not a log");
  DayKeysAhead ahead(*loop_, *days_);
  ahead.start({&strength, &aerobics, &broken, nullptr});
  EXPECT_EQ(ahead.remaining(), 310u);  // nothing read while launching
  clock_->advance(0);
  EXPECT_EQ(ahead.remaining(), 310u - DayKeysAhead::kSlice);
  clock_->advance(DayKeysAhead::kPause / 2);
  EXPECT_EQ(ahead.remaining(), 310u - DayKeysAhead::kSlice);  // the loop had its pause
  clock_->advance(DayKeysAhead::kPause);
  EXPECT_EQ(ahead.remaining(), 310u - 2 * DayKeysAhead::kSlice);
  clock_->advance(1);
  EXPECT_EQ(ahead.remaining(), 0u);

  ahead.start({&aerobics});  // starting again reads afresh
  EXPECT_EQ(ahead.remaining(), 10u);
  clock_->advance(0);
  EXPECT_EQ(ahead.remaining(), 0u);
}

TEST_F(DayKeysAheadTest, AReadingDroppedOrEndedWithItsOwnerLeavesNothingToFire) {
  const PropertyList strength = logOfDays(1000);
  {
    DayKeysAhead ahead(*loop_, *days_);
    ahead.start({&strength});
    clock_->advance(0);
    ahead.start({});
    EXPECT_EQ(ahead.remaining(), 0u);
    ahead.start({&strength});
  }
  clock_->advance(10);  // a slice firing now would read through a destroyed object
  SUCCEED();
}

}  // namespace
}  // namespace kinetra
