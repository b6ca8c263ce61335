#include "app/LogMailer.h"

#include <algorithm>
#include <utility>

#include "mail/Base64Data.h"

namespace kinetra {

namespace {

SMTPPart letterPart(const std::string& letter) {
  return {{kSMTPPartContentTypeKey, "text/plain"},
          {kSMTPPartMessageKey, letter},
          {kSMTPPartContentTransferEncodingKey, "7bit"}};
}

SMTPPart attachmentPart(const std::string& name, const std::string& bytes) {
  const std::string quotedName = "\"" + name + "\"";
  Result<std::string> encoded = Base64Data::encodeBase64(bytes);
  return {
      {kSMTPPartContentTypeKey, "text/directory;\r\n\tx-unix-mode=0644;\r\n\tname=" + quotedName},
      {kSMTPPartContentDispositionKey, "attachment;\r\n\tfilename=" + quotedName},
      {kSMTPPartMessageKey, encoded.ok() ? std::move(encoded).value() : std::string()},
      {kSMTPPartContentTransferEncodingKey, "base64"}};
}

}  // namespace

std::optional<std::string> LogMailer::supportAddress() const {
  if (!account_) return std::nullopt;
  return account_->effectiveSupportAddress();
}

void LogMailer::sendMail(ExportMail mail) {
  if (!account_) return;
  messages_.push_back(compose(loop_, *account_, mail, &delegate_));
  // The delegate may hear (and dispose of the message) inside send(): touch nothing after it.
  SMTPMessage& message = *messages_.back();
  static_cast<void>(message.send());
}

void LogMailer::dispose(const SMTPMessage& message) {
  std::erase_if(messages_,
                [&](const std::unique_ptr<SMTPMessage>& m) { return m.get() == &message; });
}

std::unique_ptr<SMTPMessage> LogMailer::compose(RunLoop& loop, const MailAccount& account,
                                                const ExportMail& mail,
                                                SMTPMessageDelegate* delegate) {
  auto message = std::make_unique<SMTPMessage>(loop);
  message->setFromEmail(account.fromEmail);
  message->setToEmail(mail.toEmail);
  message->setRelayHost(account.relayHost);
  message->setRelayPorts(account.relayPorts);
  message->setTlsCAFile(account.caFile);
  message->setRequiresAuth(!account.pass.empty());
  message->setLogin(account.effectiveLogin());
  message->setPass(account.pass);
  message->setSubject(mail.subject);
  message->setDelegate(delegate);
  message->setParts(
      {letterPart(mail.letter), attachmentPart(mail.attachmentName, mail.attachment)});
  return message;
}

}  // namespace kinetra
