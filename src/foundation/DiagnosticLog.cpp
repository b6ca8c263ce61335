#include "foundation/DiagnosticLog.h"

#include <cstdio>

namespace kinetra {

void DiagnosticLog::line(std::string_view text) const {
  if (sink_) {
    sink_(text);
    return;
  }
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
}

}  // namespace kinetra
