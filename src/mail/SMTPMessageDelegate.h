#pragma once

#include "mail/SMTPError.h"

namespace kinetra {

class SMTPMessage;

// Hears how an SMTPMessage's attempt ended: exactly one of the two calls per attempt, on the run
// loop's thread. The message is not used by the client after the call returns, so the delegate
// may destroy it from inside either call.
class SMTPMessageDelegate {
 public:
  virtual ~SMTPMessageDelegate() = default;
  virtual void messageSent(SMTPMessage& message) = 0;
  virtual void messageFailed(SMTPMessage& message, const SMTPError& error) = 0;
};

}  // namespace kinetra
