#pragma once

#include <string>
#include <string_view>

namespace kinetra {

// Why an SMTPMessage was not sent: domain "SMTPMessageError", a numeric code and its
// description. Negative codes are the client's own; codes from 400 to 599 are the relay's reply
// codes. A value; copied freely.
struct SMTPError {
  static constexpr std::string_view kDomain = "SMTPMessageError";

  enum Code : int {
    kUnableToStartTls = -1,           // STARTTLS refused or failed, or no TLS for credentials
    kUnsupportedLoginMechanism = -2,  // neither PLAIN nor LOGIN advertised
    kUnableToConnect = -3,            // no port left that gave a greeting
    kConnectionInterrupted = -4,      // the relay hung up before the message went out
    kTimeout = -5,                    // no reply within the watchdog's time
    kInvalidAddressOrHeader = -6,     // CR, LF, NUL or angle brackets where they would inject
    kIncompleteMessage = -7,          // a required property was missing when send was called
    kRelayRejected = 530,             // the recipient was refused
    kLoginInvalid = 535,              // the credentials were refused
    kSendFailed = 550,                // the message was refused
  };

  // The error for `code` with its standard description.
  static SMTPError withCode(Code code);
  // The error for `code` with a description of its own (kIncompleteMessage says what is
  // missing).
  static SMTPError withCode(Code code, std::string description);
  // The relay refused with `replyCode` (400 to 599); `description` is what to show for it.
  static SMTPError withReplyCode(int replyCode, std::string description);

  std::string domain{kDomain};
  int code = 0;
  std::string description;
};

}  // namespace kinetra
