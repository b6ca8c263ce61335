#include <gtest/gtest.h>

#include <vector>

#include "ui/Application.h"

namespace kinetra {
namespace {

using Patterns = std::vector<std::vector<int>>;

class VibrationTest : public ::testing::Test {
 protected:
  void SetUp() override { Application::shared().reset(); }
  void TearDown() override { Application::shared().reset(); }
  Application& application() { return Application::shared(); }
};

TEST_F(VibrationTest, RequestsWaitInOrderUntilTheDeviceTakesThem) {
  application().vibrate({300});
  application().vibrate({200, 100, 200});
  EXPECT_EQ(application().takeVibrations(), (Patterns{{300}, {200, 100, 200}}));
  EXPECT_TRUE(application().takeVibrations().empty()) << "each is taken once";
}

TEST_F(VibrationTest, PatternsAreHeldToWhatADeviceCanPlay) {
  application().vibrate({});
  EXPECT_TRUE(application().takeVibrations().empty()) << "an empty pattern asks for nothing";

  application().vibrate({-1, Application::kMaxVibrationMilliseconds + 1, 50});
  EXPECT_EQ(application().takeVibrations(),
            (Patterns{{0, Application::kMaxVibrationMilliseconds, 50}}));

  application().vibrate(std::vector<int>(Application::kMaxVibrationSteps + 3, 10));
  const Patterns taken = application().takeVibrations();
  ASSERT_EQ(taken.size(), 1U);
  EXPECT_EQ(taken[0].size(), Application::kMaxVibrationSteps);
}

TEST_F(VibrationTest, OnlyTheNewestWaitWhenNobodyTakesThem) {
  for (int i = 1; i <= static_cast<int>(Application::kMaxPendingVibrations) + 2; ++i) {
    application().vibrate({i});
  }
  const Patterns taken = application().takeVibrations();
  ASSERT_EQ(taken.size(), Application::kMaxPendingVibrations);
  EXPECT_EQ(taken.front(), (std::vector<int>{3}));
  EXPECT_EQ(taken.back(),
            (std::vector<int>{static_cast<int>(Application::kMaxPendingVibrations) + 2}));

  application().vibrate({1});
  application().reset();
  EXPECT_TRUE(application().takeVibrations().empty());
}

}  // namespace
}  // namespace kinetra
