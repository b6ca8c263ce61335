#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/StreamDelegate.h"
#include "foundation/Timer.h"
#include "mail/SMTPError.h"

namespace kinetra {

class RunLoop;
class SMTPMessageDelegate;

// Keys of a message part; each key's value is its own name.
inline constexpr char kSMTPPartContentDispositionKey[] = "kSMTPPartContentDispositionKey";
inline constexpr char kSMTPPartContentTypeKey[] = "kSMTPPartContentTypeKey";
inline constexpr char kSMTPPartContentTransferEncodingKey[] = "kSMTPPartContentTransferEncodingKey";
inline constexpr char kSMTPPartMessageKey[] = "kSMTPPartMessageKey";

// One body part: Content-Type, Content-Transfer-Encoding and the text are required, the
// Content-Disposition is optional. Header values may be folded ("\r\n" followed by a tab or a
// space); the text may use any line ends.
using SMTPPart = std::map<std::string, std::string, std::less<>>;

// Where the conversation stands; the values are fixed.
enum class SMTPSendState : std::uint32_t {
  kIdle = 0,
  kAwaitGreeting = 1,
  kAwaitHello = 2,
  kAwaitTls = 3,
  kAwaitUserPrompt = 4,
  kAwaitPasswordPrompt = 5,
  kAwaitAuthResult = 6,
  kAwaitSenderOk = 7,
  kAwaitRecipientOk = 8,
  kAwaitDataGo = 9,
  kAwaitDataOk = 10,
  kAwaitQuitOk = 11,
  kSent = 12,
};

// Sends one multipart/mixed message to one recipient through an SMTP relay, on the run loop:
// connects to the relay's ports in turn (one greeting within `connectTimeout` seconds each),
// upgrades to TLS whenever the relay offers STARTTLS, authenticates with AUTH PLAIN or LOGIN
// when `requiresAuth` is set, and reports the outcome to the delegate exactly once. A refusal
// from the relay (a final 4xx or 5xx reply) ends the attempt at once with the reply's code; no
// wait for a reply lasts longer than the watchdog's 20 seconds (60 for the message itself).
//
// Usage: create, set the properties, call send(), keep the instance alive until the delegate
// hears; the delegate may destroy it from inside its callback. One instance makes one attempt;
// a second send() is refused. The instance must be destroyed before its run loop; destroying it
// earlier closes the connection and cancels its timers without telling the delegate.
//
// Safety rules beyond the plain protocol: credentials go only over TLS (or to a loopback relay
// while `allowsCleartextAuthOnLoopback` holds); plaintext after the STARTTLS go-ahead is dropped
// and the relay's capabilities are learnt again over TLS; credentials never reach the log;
// addresses and headers that could inject commands or headers are refused before connecting.
//
// Every server line ("S: ..."), client line ("C: ...", credentials masked) and watchdog step is
// written to the run loop's diagnostic log. Not thread-safe: the run loop's thread only.
class SMTPMessage final : public StreamDelegate {
 public:
  explicit SMTPMessage(RunLoop& loop);
  SMTPMessage(const SMTPMessage&) = delete;
  SMTPMessage& operator=(const SMTPMessage&) = delete;
  ~SMTPMessage() override;

  // --- Properties ---------------------------------------------------------------------------
  const std::string& login() const { return login_; }
  void setLogin(std::string login) { login_ = std::move(login); }
  const std::string& pass() const { return pass_; }
  void setPass(std::string pass) { pass_ = std::move(pass); }
  const std::string& relayHost() const { return relayHost_; }
  void setRelayHost(std::string relayHost) { relayHost_ = std::move(relayHost); }
  // Ports still to try, in order; send() takes them from the front. Default: 587.
  const std::vector<std::uint16_t>& relayPorts() const { return relayPorts_; }
  void setRelayPorts(std::vector<std::uint16_t> relayPorts) { relayPorts_ = std::move(relayPorts); }
  const std::string& subject() const { return subject_; }
  void setSubject(std::string subject) { subject_ = std::move(subject); }
  const std::string& fromEmail() const { return fromEmail_; }
  void setFromEmail(std::string fromEmail) { fromEmail_ = std::move(fromEmail); }
  const std::string& toEmail() const { return toEmail_; }
  void setToEmail(std::string toEmail) { toEmail_ = std::move(toEmail); }
  const std::vector<SMTPPart>& parts() const { return parts_; }
  void setParts(std::vector<SMTPPart> parts) { parts_ = std::move(parts); }

  bool requiresAuth() const { return requiresAuth_; }
  void setRequiresAuth(bool requiresAuth) { requiresAuth_ = requiresAuth; }
  // Recorded only: STARTTLS is taken whenever the relay offers it.
  bool wantsSecure() const { return wantsSecure_; }
  void setWantsSecure(bool wantsSecure) { wantsSecure_ = wantsSecure; }
  // Whether the relay's certificate chain and name are verified during TLS. Default true.
  bool validateSSLChain() const { return validateSSLChain_; }
  void setValidateSSLChain(bool validate) { validateSSLChain_ = validate; }
  // PEM file of trusted roots to verify the relay against instead of the system's store; empty
  // (the default) means the system's store.
  const std::string& tlsCAFile() const { return tlsCAFile_; }
  void setTlsCAFile(std::string caFile) { tlsCAFile_ = std::move(caFile); }
  // Whether credentials may go in the clear to a relay named by a loopback address or
  // "localhost" (a local relay). Default true.
  bool allowsCleartextAuthOnLoopback() const { return allowsCleartextAuthOnLoopback_; }
  void setAllowsCleartextAuthOnLoopback(bool allows) { allowsCleartextAuthOnLoopback_ = allows; }

  SMTPSendState sendState() const { return sendState_; }
  void setSendState(SMTPSendState state) { sendState_ = state; }
  bool isSecure() const { return isSecure_; }
  void setIsSecure(bool secure) { isSecure_ = secure; }
  // Received text not yet consumed: at most an unfinished line between reads.
  const std::string& inputString() const { return inputString_; }
  void setInputString(std::string text) { inputString_ = std::move(text); }

  bool serverAuthCRAMMD5() const { return serverAuthCRAMMD5_; }
  void setServerAuthCRAMMD5(bool offered) { serverAuthCRAMMD5_ = offered; }
  bool serverAuthPLAIN() const { return serverAuthPLAIN_; }
  void setServerAuthPLAIN(bool offered) { serverAuthPLAIN_ = offered; }
  bool serverAuthLOGIN() const { return serverAuthLOGIN_; }
  void setServerAuthLOGIN(bool offered) { serverAuthLOGIN_ = offered; }
  bool serverAuthDIGESTMD5() const { return serverAuthDIGESTMD5_; }
  void setServerAuthDIGESTMD5(bool offered) { serverAuthDIGESTMD5_ = offered; }
  bool server8bitMessages() const { return server8bitMessages_; }
  void setServer8bitMessages(bool offered) { server8bitMessages_ = offered; }

  // Not owned; must outlive the attempt or be cleared.
  SMTPMessageDelegate* delegate() const { return delegate_; }
  void setDelegate(SMTPMessageDelegate* delegate) { delegate_ = delegate; }
  // Seconds to wait for the greeting on one port. Default 8.
  double connectTimeout() const { return connectTimeout_; }
  void setConnectTimeout(double seconds) { connectTimeout_ = seconds; }
  const Timer& connectTimer() const { return connectTimer_; }
  void setConnectTimer(Timer timer) { connectTimer_ = std::move(timer); }
  const Timer& watchdogTimer() const { return watchdogTimer_; }
  void setWatchdogTimer(Timer timer) { watchdogTimer_ = std::move(timer); }

  // --- The attempt ----------------------------------------------------------------------------

  // Starts the attempt without blocking. Returns true when a connection is being opened; false
  // when the attempt failed at once, the delegate having been told already (a missing property:
  // -7 naming it; an injecting address or header: -6; no port: -3). A second call, or a call
  // once an attempt has run, is refused with false and a log line, and the delegate hears
  // nothing more.
  bool send();

  // --- Steps of the conversation, run by the run loop's timers and stream events -------------
  // Public so the conversation can be driven step by step (tests, fuzzing); each is safe to call
  // in any state, also without a connection (nothing is written then).

  // The connect timer fired: without a greeting yet, tries the next port (or fails with -3).
  void connectionConnectedCheck();
  // The watchdog fired: -5, or success while waiting for the reply to QUIT.
  void connectionWatchdog();
  // Consumes every complete line of inputString() (an unfinished last line waits for more,
  // unless it is absurdly long), acting on each in turn. Reports the outcome once the message
  // went out or a line ended the attempt (a refusal, or an error of the client's own); the lines
  // after that one are not acted on. When the lines moved nothing, restarts the short watchdog.
  void parseBuffer();
  // Writes the DATA payload and starts the long watchdog.
  void sendParts();
  void startShortWatchdog();
  void startLongWatchdog();
  void stopWatchdog();
  // Closes and drops the connection.
  void cleanUpStreams();

  void handleEvent(Stream& stream, StreamEvent event) override;

  // Whether `host` names this machine: "localhost", 127.0.0.0/8 or ::1 (also v4-mapped).
  static bool isLoopbackRelay(std::string_view host);
  // The DATA payload for the message's current properties, terminator included: CRLF line
  // ends, dot-stuffed, base64 parts folded to 76 columns, closing delimiter.
  std::string dataPayload() const;

 private:
  struct ReplyLine;

  // Walks inputString_; `atEnd` also takes an unfinished last line. Returns true when the
  // attempt ended (the message may be gone then: touch nothing).
  bool parseLines(bool atEnd);
  // The next line of inputString_ from `position`, which it moves past the line; nullopt when
  // no complete line is left (with `atEnd`, an unfinished one counts).
  std::optional<std::string> nextLine(std::size_t& position, bool atEnd) const;
  // Acts on one server line; returns false when the walk must stop (TLS begins). A line that
  // ends the attempt sets `error` (or the state Sent).
  bool handleLine(std::string_view line, std::optional<SMTPError>& error);
  // Sends the next command when `reply` is what the state waits for; false as handleLine.
  bool moveOn(const ReplyLine& reply, std::optional<SMTPError>& error);
  void settleRefusal(const ReplyLine& reply, std::string_view line,
                     std::optional<SMTPError>& error);
  void handleHelloLine(const ReplyLine& reply, std::optional<SMTPError>& error);
  void learnCapability(const std::vector<std::string>& words);
  void beginAuthentication(std::optional<SMTPError>& error);
  bool beginTls(std::optional<SMTPError>& error);
  void forgetCapabilities();
  // Logs "C: " with `logged` (the line itself unless given), writes `line`, starts the short
  // watchdog.
  void sendCommand(std::string_view line, std::optional<std::string_view> logged = {});
  void sendHello();
  void sendMailFrom();
  // Takes the next port and opens a connection to it, or fails with -3.
  bool connectToNextPort();
  std::optional<SMTPError> checkMessage() const;
  void readAvailableBytes(Stream& stream);
  void connectionEnded();
  void connectionFailed(Stream& stream);
  bool isWaitingForReply() const;
  // Starts the short watchdog when a waiting state has no timer bounding it.
  void keepWatching();
  // Ends the attempt: stops every timer, drops the connection and tells the delegate, once.
  // Must be the last thing its caller does: the delegate may destroy the message.
  void finish(std::optional<SMTPError> error);
  void log(std::string_view text) const;

  RunLoop& loop_;

  std::string login_;
  std::string pass_;
  std::string relayHost_;
  std::vector<std::uint16_t> relayPorts_{587};
  std::string subject_;
  std::string fromEmail_;
  std::string toEmail_;
  std::vector<SMTPPart> parts_;
  bool requiresAuth_ = false;
  bool wantsSecure_ = false;
  bool validateSSLChain_ = true;
  std::string tlsCAFile_;
  bool allowsCleartextAuthOnLoopback_ = true;
  SMTPSendState sendState_ = SMTPSendState::kIdle;
  bool isSecure_ = false;
  std::string inputString_;
  bool serverAuthCRAMMD5_ = false;
  bool serverAuthPLAIN_ = false;
  bool serverAuthLOGIN_ = false;
  bool serverAuthDIGESTMD5_ = false;
  bool server8bitMessages_ = false;
  SMTPMessageDelegate* delegate_ = nullptr;
  double connectTimeout_ = 8.0;

  bool attempted_ = false;  // send() was called once
  bool finished_ = false;   // the delegate was told
  std::unique_ptr<Stream> stream_;
  Timer connectTimer_;
  Timer watchdogTimer_;
};

}  // namespace kinetra
