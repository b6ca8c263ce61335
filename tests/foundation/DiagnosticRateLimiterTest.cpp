#include "foundation/DiagnosticRateLimiter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "foundation/ManualClock.h"

namespace kinetra {
namespace {

// A limiter on a manual clock that starts at 0 s, recording "<line>@<seconds>".
class DiagnosticRateLimiterTest : public ::testing::Test {
 protected:
  DiagnosticRateLimiterTest() {
    log_.setSink([this](std::string_view line) {
      lines_.push_back(std::string(line) + "@" + secondsText(clock_.now().timeIntervalSince1970()));
    });
  }

  static std::string secondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
  }

  ManualClock clock_{Date(0)};
  DiagnosticLog log_;
  std::vector<std::string> lines_;
};

TEST_F(DiagnosticRateLimiterTest, TheFirstLinesPassAndTheRestAreSummedUpWhenTheIntervalEnds) {
  DiagnosticRateLimiter limiter(clock_, log_, {3, 10});
  for (int i = 0; i < 8; ++i) limiter.line("shell: refused", "refused " + std::to_string(i));
  clock_.advance(4);
  limiter.line("shell: refused", "refused 8");
  EXPECT_EQ(lines_, (std::vector<std::string>{"refused 0@0", "refused 1@0", "refused 2@0"}));
  clock_.advance(5.9);
  EXPECT_EQ(lines_.size(), 3u) << "summary before the interval ended";
  clock_.advance(0.1);
  ASSERT_EQ(lines_.size(), 4u);
  EXPECT_EQ(lines_[3], "shell: refused: 6 more like this in the last 10 s@10");
  // The next line opens a new interval and passes.
  limiter.line("shell: refused", "refused 9");
  EXPECT_EQ(lines_.back(), "refused 9@10");
  clock_.advance(60);
  EXPECT_EQ(lines_.size(), 5u) << "a summary of nothing";
}

TEST_F(DiagnosticRateLimiterTest, KindsAreCountedApart) {
  DiagnosticRateLimiter limiter(clock_, log_, {2, 0.5});
  for (const char* kind : {"a", "b", "a", "a", "b", "a", "b", "b", "b"}) {
    limiter.line(kind, std::string(kind) + " line");
  }
  clock_.advance(1);
  EXPECT_EQ(lines_, (std::vector<std::string>{"a line@0", "b line@0", "a line@0", "b line@0",
                                              "a: 2 more like this in the last 0.5 s@0.5",
                                              "b: 3 more like this in the last 0.5 s@0.5"}));
}

TEST_F(DiagnosticRateLimiterTest, AnIntervalStartsWithTheFirstLineAfterThePreviousOneEnded) {
  DiagnosticRateLimiter limiter(clock_, log_, {1, 10});
  limiter.line("k", "first");
  clock_.advance(25);  // the first interval ended at 10 with nothing held back
  limiter.line("k", "second");
  limiter.line("k", "held");
  clock_.advance(9.5);
  EXPECT_EQ(lines_.size(), 2u) << "the second interval runs from 25 to 35";
  clock_.advance(0.5);
  EXPECT_EQ(lines_, (std::vector<std::string>{"first@0", "second@25",
                                              "k: 1 more like this in the last 10 s@35"}));
}

TEST_F(DiagnosticRateLimiterTest, ALimiterDestroyedWithLinesHeldBackWritesNothingLater) {
  {
    DiagnosticRateLimiter limiter(clock_, log_, {1, 10});
    limiter.line("k", "one");
    limiter.line("k", "two");
  }
  clock_.advance(20);
  EXPECT_EQ(lines_, std::vector<std::string>{"one@0"});
  EXPECT_EQ(clock_.pendingTimerCount(), 0u);
}

}  // namespace
}  // namespace kinetra
