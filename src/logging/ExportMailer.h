#pragma once

#include <optional>
#include <string>

namespace kinetra {

// One export message as the export page composes it: the recipient, the subject, the letter and
// the CSV attachment (its file name and its bytes). How it becomes MIME is the mail client's.
struct ExportMail {
  std::string toEmail;
  std::string subject;
  std::string letter;
  std::string attachmentName;
  std::string attachment;
};

// What the export page asks of the application's mail account. The application implements it.
class ExportMailer {
 public:
  virtual ~ExportMailer() = default;

  // The address the letter gives for support questions; nothing when no mail account is
  // configured (then nothing can be sent).
  virtual std::optional<std::string> supportAddress() const = 0;
  // Starts sending `mail` in a conversation of its own, without blocking; the outcome comes back
  // once, through the export's messageSent or messageFailed.
  virtual void sendMail(ExportMail mail) = 0;
};

}  // namespace kinetra
