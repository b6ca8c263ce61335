#pragma once

#include <optional>

#include "foundation/Clock.h"
#include "foundation/Date.h"

namespace kinetra {

// A clock that moves only when told to, for tests: "now" stands still until advance() or
// advanceTo(), and timers fire only inside those calls. Hand it to a RunLoop; the run loop
// still performs real I/O, only time is manual.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(Date start = Date(0)) : now_(start) {}

  Date now() const override { return now_; }

  // Moves time forward by `seconds` and fires, on the calling thread (which must be the run
  // loop's), every timer due by the new time: in order of due time, ties in scheduling order,
  // each seeing now() equal to its own due time. Timers scheduled by those callbacks that fall
  // due within the span fire too. Afterwards now() is the new time. Negative or non-finite
  // amounts move nothing but still fire timers already due.
  void advance(double seconds);
  // The same, to a moment; a moment before now() (or not finite) moves nothing.
  void advanceTo(Date moment);

 protected:
  double timelineNow() const override { return now_.timeIntervalSince1970(); }
  void earliestDueChanged(std::optional<double>) override {}

 private:
  Date now_;
};

}  // namespace kinetra
