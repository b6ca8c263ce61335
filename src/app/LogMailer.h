#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logging/ExportMailer.h"
#include "mail/MailAccount.h"
#include "mail/SMTPMessage.h"

namespace kinetra {

class RunLoop;
class SMTPMessageDelegate;

// The export's mail through the user's configured account: each mail becomes an SMTPMessage of
// its own, owned here from send until its one delegate call, when the delegate hands it back
// with dispose(). Any number may be under way at once. Without an account nothing is sent.
// The run loop and the delegate must outlive this object; messages still under way when it
// goes are closed without a delegate call.
class LogMailer final : public ExportMailer {
 public:
  LogMailer(RunLoop& loop, std::optional<MailAccount> account, SMTPMessageDelegate& delegate)
      : loop_(loop), account_(std::move(account)), delegate_(delegate) {}
  LogMailer(const LogMailer&) = delete;
  LogMailer& operator=(const LogMailer&) = delete;

  std::optional<std::string> supportAddress() const override;
  void sendMail(ExportMail mail) override;

  // Destroys `message` when it is one of the messages under way; anything else is ignored.
  void dispose(const SMTPMessage& message);
  std::size_t messagesUnderWay() const { return messages_.size(); }

  // The message for `mail` through `account`, with `delegate`, ready for send(): the letter as
  // 7-bit plain text, then the attachment in Base64 under folded Content-Type and
  // Content-Disposition values that name it.
  static std::unique_ptr<SMTPMessage> compose(RunLoop& loop, const MailAccount& account,
                                              const ExportMail& mail,
                                              SMTPMessageDelegate* delegate);

 private:
  RunLoop& loop_;
  std::optional<MailAccount> account_;
  SMTPMessageDelegate& delegate_;
  std::vector<std::unique_ptr<SMTPMessage>> messages_;
};

}  // namespace kinetra
