#include "foundation/Status.h"

namespace kinetra {

namespace {

const char* codeName(Status::Code code) {
  switch (code) {
    case Status::Code::kOk:
      return "ok";
    case Status::Code::kNotFound:
      return "not found";
    case Status::Code::kInvalidArgument:
      return "invalid argument";
    case Status::Code::kCorrupt:
      return "corrupt";
    case Status::Code::kTooLarge:
      return "too large";
    case Status::Code::kIOError:
      return "I/O error";
    case Status::Code::kNetworkError:
      return "network error";
    case Status::Code::kTlsError:
      return "TLS error";
    case Status::Code::kCancelled:
      return "cancelled";
  }
  return "unknown";
}

}  // namespace

std::string Status::toString() const {
  if (ok()) return "ok";
  std::string text = codeName(code_);
  if (!message_.empty()) text += ": " + message_;
  return text;
}

}  // namespace kinetra
