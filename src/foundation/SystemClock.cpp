#include "foundation/SystemClock.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>

namespace kinetra {

namespace {

using SteadyClock = std::chrono::steady_clock;

SteadyClock::time_point steadyPoint(double timeline) {
  return SteadyClock::time_point(
      std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(timeline)));
}

}  // namespace

struct SystemClock::Impl {
  explicit Impl(boost::asio::io_context& io) : timer(io) {}
  boost::asio::steady_timer timer;
};

SystemClock::SystemClock(boost::asio::io_context& io) : impl_(std::make_unique<Impl>(io)) {}

SystemClock::~SystemClock() = default;

Date SystemClock::now() const {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  return Date(std::chrono::duration<double>(sinceEpoch).count());
}

double SystemClock::timelineNow() const {
  return std::chrono::duration<double>(SteadyClock::now().time_since_epoch()).count();
}

void SystemClock::earliestDueChanged(std::optional<double> due) {
  if (!firing_) arm(due);
}

void SystemClock::arm(std::optional<double> due) {
  if (!due) {
    impl_->timer.cancel();
    return;
  }
  impl_->timer.expires_at(steadyPoint(*due));
  // An expiry that was already queued when the timer was re-armed still arrives with success;
  // fireDue() then finds nothing due and re-arms, which is harmless. The clock outlives every
  // successful wait: its destruction cancels the timer, and the io_context never runs handlers
  // once destroyed.
  impl_->timer.async_wait([this](const boost::system::error_code& error) {
    if (error) return;
    fireDue();
  });
}

void SystemClock::fireDue() {
  firing_ = true;
  for (auto due = earliestDue(); due && *due <= timelineNow(); due = earliestDue()) {
    fireEarliest();
  }
  firing_ = false;
  arm(earliestDue());
}

}  // namespace kinetra
