#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/Timer.h"

namespace boost::asio {
class io_context;
}

namespace kinetra {

// The one run loop: a Boost.Asio io_context run by one thread, the caller's. Every callback in
// the system (posted work, timers, stream events, the web shell's handlers) runs on that thread,
// one at a time. Time comes from the loop's clock: the system clock, or a ManualClock a test
// hands in and advances by hand while sockets keep working.
//
// Thread safety: post() may be called from any thread; everything else only on the loop's
// thread. Objects that use the loop (streams, the shell's sockets) must be destroyed before it;
// timer handles may outlive it.
class RunLoop {
 public:
  // A run loop on the system clock.
  RunLoop();
  // A run loop on the given clock, typically a ManualClock the test keeps a reference to.
  explicit RunLoop(std::unique_ptr<Clock> clock);
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;
  // Pending work is dropped without running; pending timers are invalidated.
  ~RunLoop();

  Date now() const { return clock_->now(); }
  Clock& clock() { return *clock_; }
  DiagnosticLog& log() { return log_; }

  // A one-shot timer on the loop's clock; see Clock::schedule and Timer.
  Timer schedule(double seconds, std::function<void()> callback) {
    return clock_->schedule(seconds, std::move(callback));
  }

  // Queues `work` to run on the loop, after everything queued before it; never runs it before
  // returning. Safe from any thread.
  void post(std::function<void()> work);

  // Runs the loop until stop() is called, waiting for work while there is none.
  void run();
  // Makes run() or runUntil() return once the callback running now returns. A stop requested
  // while the loop is not running is forgotten at the next run.
  void stop();

  // Runs the loop until `done()` holds, stop() is called, or `maxRealSeconds` of real time have
  // passed; returns whether `done()` holds. `done` is checked before the first callback and
  // after every one; the loop waits for work in short slices so a condition that another thread
  // changes is seen promptly. For tests and start-up; never sleeps beyond the bound.
  bool runUntil(const std::function<bool()>& done, double maxRealSeconds);
  // Runs every callback that is ready without waiting; returns how many ran.
  std::size_t runPending();

  // The underlying io_context, for code that does its own Asio I/O on this loop (the web
  // shell). Include <boost/asio/io_context.hpp> to use it.
  boost::asio::io_context& ioContext();

 private:
  struct Impl;

  void prepareToRun();

  DiagnosticLog log_;
  std::unique_ptr<Impl> impl_;    // the io_context; outlives the clock
  std::unique_ptr<Clock> clock_;  // destroyed first
};

}  // namespace kinetra
