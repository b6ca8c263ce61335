#include "foundation/DiagnosticRateLimiter.h"

#include <cmath>
#include <cstdio>

namespace kinetra {

namespace {

std::string secondsText(double seconds) {
  if (seconds == std::floor(seconds) && std::fabs(seconds) < 1e15) {
    return std::to_string(static_cast<long long>(seconds));
  }
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

}  // namespace

DiagnosticRateLimiter::DiagnosticRateLimiter(Clock& clock, const DiagnosticLog& log,
                                             Settings settings)
    : clock_(clock), log_(log), settings_(settings) {
  if (!(settings_.intervalSeconds > 0)) settings_.intervalSeconds = 1;
}

double DiagnosticRateLimiter::now() const { return clock_.now().timeIntervalSince1970(); }

void DiagnosticRateLimiter::line(std::string_view kind, std::string_view text) {
  auto interval = intervals_.find(kind);
  if (interval != intervals_.end() && now() >= interval->second.end) {
    close(interval);
    interval = intervals_.end();
  }
  if (interval == intervals_.end()) {
    interval = intervals_.emplace(std::string(kind), Interval{}).first;
    interval->second.end = now() + settings_.intervalSeconds;
  }
  Interval& current = interval->second;
  if (current.written < settings_.linesPerInterval) {
    ++current.written;
    log_.line(text);
    return;
  }
  if (current.heldBack++ == 0) {
    current.summary = clock_.schedule(current.end - now(), [this, name = interval->first] {
      if (auto ended = intervals_.find(name); ended != intervals_.end()) close(ended);
    });
  }
}

void DiagnosticRateLimiter::close(Intervals::iterator interval) {
  const std::size_t heldBack = interval->second.heldBack;
  const std::string summary = interval->first + ": " + std::to_string(heldBack) +
                              " more like this in the last " +
                              secondsText(settings_.intervalSeconds) + " s";
  // Erasing destroys the summary timer's handle, which is safe from its own callback.
  intervals_.erase(interval);
  if (heldBack > 0) log_.line(summary);
}

}  // namespace kinetra
