#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/ManualClock.h"

namespace kinetra {
namespace {

TEST(RunLoopTest, PostedWorkRunsLaterInOrder) {
  RunLoop loop;
  std::vector<int> order;
  loop.post([&] {
    order.push_back(1);
    loop.post([&] { order.push_back(3); });
  });
  loop.post([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());
  EXPECT_TRUE(loop.runUntil([&] { return order.size() == 3; }, 5));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(RunLoopTest, RunReturnsOnlyWhenStopped) {
  RunLoop loop;
  int ran = 0;
  // run() keeps waiting while idle; the chain below only ends by stopping it.
  loop.post([&] {
    ++ran;
    loop.post([&] {
      ++ran;
      loop.stop();
      loop.post([&] { ++ran; });  // queued behind the stop
    });
  });
  loop.run();
  EXPECT_EQ(ran, 2);
  // The stop is not sticky: the next run picks up the remaining work.
  EXPECT_TRUE(loop.runUntil([&] { return ran == 3; }, 5));
}

TEST(RunLoopTest, RunUntilGivesUpWhenStopped) {
  RunLoop loop;
  loop.post([&] { loop.stop(); });
  EXPECT_FALSE(loop.runUntil([] { return false; }, 60));
}

TEST(RunLoopTest, RunUntilChecksBeforeRunningAnything) {
  RunLoop loop;
  bool ran = false;
  loop.post([&] { ran = true; });
  EXPECT_TRUE(loop.runUntil([] { return true; }, 5));
  EXPECT_FALSE(ran);
  EXPECT_EQ(loop.runPending(), 1u);
  EXPECT_TRUE(ran);
}

TEST(RunLoopTest, WorkPostedFromAnotherThreadWakesTheLoop) {
  RunLoop loop;
  std::atomic<bool> done{false};
  std::thread poster([&] { loop.post([&] { done = true; }); });
  EXPECT_TRUE(loop.runUntil([&] { return done.load(); }, 10));
  poster.join();
}

TEST(RunLoopTest, DestroyingTheLoopDropsPendingWorkUnrun) {
  auto token = std::make_shared<int>(1);
  std::weak_ptr<int> watch = token;
  bool ran = false;
  {
    RunLoop loop;
    loop.post([&ran, token] { ran = true; });
    token.reset();
  }
  EXPECT_FALSE(ran);
  EXPECT_TRUE(watch.expired());
}

TEST(RunLoopTest, OwnsTheDiagnosticLogTestsCapture) {
  RunLoop loop;
  std::vector<std::string> lines;
  loop.log().setSink([&](std::string_view line) { lines.emplace_back(line); });
  loop.post([&] { loop.log().line("S: 220 ready"); });
  loop.runPending();
  EXPECT_EQ(lines, std::vector<std::string>{"S: 220 ready"});
}

TEST(RunLoopTest, NowComesFromTheLoopsClock) {
  auto owned = std::make_unique<ManualClock>(Date(86340));  // 23:59 on the first day
  ManualClock& clock = *owned;
  RunLoop loop(std::move(owned));
  EXPECT_EQ(loop.now(), Date(86340));
  clock.advance(60);
  EXPECT_EQ(loop.now(), Date(86400));
  EXPECT_EQ(&loop.clock(), &clock);
}

}  // namespace
}  // namespace kinetra
