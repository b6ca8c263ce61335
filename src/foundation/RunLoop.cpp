#include "foundation/RunLoop.h"

#include <algorithm>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <cmath>
#include <utility>

#include "foundation/SystemClock.h"

namespace kinetra {

namespace {

// How long runUntil waits for work before looking at its condition again.
constexpr std::chrono::milliseconds kWaitSlice{5};

}  // namespace

struct RunLoop::Impl {
  // One thread runs the context; post() from other threads still locks.
  boost::asio::io_context io{1};
  bool stopRequested = false;
};

RunLoop::RunLoop() : impl_(std::make_unique<Impl>()) {
  clock_ = std::make_unique<SystemClock>(impl_->io);
}

RunLoop::RunLoop(std::unique_ptr<Clock> clock)
    : impl_(std::make_unique<Impl>()), clock_(std::move(clock)) {
  if (!clock_) clock_ = std::make_unique<SystemClock>(impl_->io);
}

RunLoop::~RunLoop() {
  clock_.reset();
  impl_.reset();
}

void RunLoop::post(std::function<void()> work) { boost::asio::post(impl_->io, std::move(work)); }

void RunLoop::prepareToRun() {
  impl_->stopRequested = false;
  if (impl_->io.stopped()) impl_->io.restart();
}

void RunLoop::run() {
  prepareToRun();
  auto guard = boost::asio::make_work_guard(impl_->io);
  impl_->io.run();
}

void RunLoop::stop() {
  impl_->stopRequested = true;
  impl_->io.stop();
}

bool RunLoop::runUntil(const std::function<bool()>& done, double maxRealSeconds) {
  using Steady = std::chrono::steady_clock;
  prepareToRun();
  if (!std::isfinite(maxRealSeconds) || maxRealSeconds < 0) maxRealSeconds = 0;
  const auto deadline =
      Steady::now() + std::chrono::duration_cast<Steady::duration>(
                          std::chrono::duration<double>(std::min(maxRealSeconds, 1e6)));
  auto guard = boost::asio::make_work_guard(impl_->io);
  while (!done()) {
    const auto now = Steady::now();
    if (impl_->stopRequested || now >= deadline) return false;
    const auto slice = std::min<Steady::duration>(deadline - now, kWaitSlice);
    impl_->io.run_one_for(slice);
  }
  return true;
}

std::size_t RunLoop::runPending() {
  prepareToRun();
  return impl_->io.poll();
}

boost::asio::io_context& RunLoop::ioContext() { return impl_->io; }

}  // namespace kinetra
