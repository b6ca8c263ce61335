#include "mail/SMTPError.h"

#include <utility>

namespace kinetra {

namespace {

std::string_view descriptionOf(SMTPError::Code code) {
  switch (code) {
    case SMTPError::kUnableToStartTls:
      return "Unable to start TLS";
    case SMTPError::kUnsupportedLoginMechanism:
      return "unsupported login mechanism";
    case SMTPError::kUnableToConnect:
      return "unable to connect to server";
    case SMTPError::kConnectionInterrupted:
      return "connection was interrupted";
    case SMTPError::kTimeout:
      return "timeout sending message";
    case SMTPError::kInvalidAddressOrHeader:
      return "invalid address or header";
    case SMTPError::kIncompleteMessage:
      return "message incomplete";
    case SMTPError::kRelayRejected:
      return "relay rejected - server probably requires auth";
    case SMTPError::kLoginInvalid:
      return "login/password invalid";
    case SMTPError::kSendFailed:
      return "error sending message";
  }
  return "unknown error";
}

SMTPError errorOf(int code, std::string description) {
  SMTPError error;
  error.code = code;
  error.description = std::move(description);
  return error;
}

}  // namespace

SMTPError SMTPError::withCode(Code code) {
  return withCode(code, std::string(descriptionOf(code)));
}

SMTPError SMTPError::withCode(Code code, std::string description) {
  return errorOf(code, std::move(description));
}

SMTPError SMTPError::withReplyCode(int replyCode, std::string description) {
  return errorOf(replyCode, std::move(description));
}

}  // namespace kinetra
