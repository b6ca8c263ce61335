#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "foundation/Clock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/Timer.h"

namespace kinetra {

// Keeps lines that a stranger can repeat at will (refused requests, malformed events) from
// flooding the diagnostic log. Lines come in kinds; of each kind the first `linesPerInterval` of
// an interval are written and the rest only counted. When the interval ends, one line sums the
// rest up: "<kind>: N more like this in the last T s". An interval starts with the first line of
// its kind after the previous interval ended.
//
// Time is the clock's (the run loop's, so tests drive it with a manual clock). The summary is
// written by a timer at the end of the interval, or before the next line of its kind when that
// line comes first. Used on the clock's thread only; the clock and the log must outlive the
// limiter. Destroying the limiter drops the counts not yet summed up.
class DiagnosticRateLimiter {
 public:
  struct Settings {
    std::size_t linesPerInterval = 5;
    double intervalSeconds = 60;
  };

  DiagnosticRateLimiter(Clock& clock, const DiagnosticLog& log, Settings settings);
  DiagnosticRateLimiter(Clock& clock, const DiagnosticLog& log)
      : DiagnosticRateLimiter(clock, log, Settings{}) {}
  DiagnosticRateLimiter(const DiagnosticRateLimiter&) = delete;
  DiagnosticRateLimiter& operator=(const DiagnosticRateLimiter&) = delete;

  // Writes `text`, one line of the kind `kind`, or counts it when the kind has had its lines
  // for this interval.
  void line(std::string_view kind, std::string_view text);

 private:
  struct Interval {
    double end = 0;  // clock seconds
    std::size_t written = 0;
    std::size_t heldBack = 0;
    Timer summary;  // pending while lines are held back
  };
  using Intervals = std::map<std::string, Interval, std::less<>>;

  double now() const;
  // Writes the summary of the interval, if lines were held back, and forgets it.
  void close(Intervals::iterator interval);

  Clock& clock_;
  const DiagnosticLog& log_;
  Settings settings_;
  Intervals intervals_;
};

}  // namespace kinetra
