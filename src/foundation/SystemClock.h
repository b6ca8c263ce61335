#pragma once

#include <memory>
#include <optional>

#include "foundation/Clock.h"

namespace boost::asio {
class io_context;
}

namespace kinetra {

// The real clock: now() is the wall clock; timers are measured on the monotonic clock, so a
// change of the wall clock neither fires nor delays them. One steady timer on the io_context
// stands for the earliest pending timer. Made by RunLoop; must be destroyed before the
// io_context it was given.
class SystemClock final : public Clock {
 public:
  explicit SystemClock(boost::asio::io_context& io);
  ~SystemClock() override;

  Date now() const override;

 protected:
  double timelineNow() const override;
  void earliestDueChanged(std::optional<double> due) override;

 private:
  struct Impl;

  void arm(std::optional<double> due);
  void fireDue();

  std::unique_ptr<Impl> impl_;
  bool firing_ = false;
};

}  // namespace kinetra
