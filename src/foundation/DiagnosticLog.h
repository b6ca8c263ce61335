#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kinetra {

// The process's one diagnostic sink: whole lines, written to standard error unless a sink is
// set. The run loop owns the instance everyone writes to, so a test that builds its own run
// loop captures every line written during the test.
class DiagnosticLog {
 public:
  using Sink = std::function<void(std::string_view line)>;

  DiagnosticLog() = default;
  DiagnosticLog(const DiagnosticLog&) = delete;
  DiagnosticLog& operator=(const DiagnosticLog&) = delete;

  // Writes one line; a trailing newline is added by the standard-error sink, never expected
  // from the caller.
  void line(std::string_view text) const;

  // Replaces the sink; an empty function restores standard error.
  void setSink(Sink sink) { sink_ = std::move(sink); }

 private:
  Sink sink_;
};

}  // namespace kinetra
