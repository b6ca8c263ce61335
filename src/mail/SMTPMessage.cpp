#include "mail/SMTPMessage.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "foundation/AsciiText.h"
#include "foundation/RunLoop.h"
#include "foundation/Stream.h"
#include "foundation/TlsOptions.h"
#include "mail/Base64Data.h"
#include "mail/SMTPMessageDelegate.h"

namespace kinetra {

namespace {

constexpr std::size_t kReadSize = 1024;
// An unfinished line longer than this is taken as it is rather than waiting for its end, so a
// relay that never sends a line end cannot grow the buffer without bound.
constexpr std::size_t kMaxPendingLine = 64 * 1024;
constexpr double kShortWatchdogSeconds = 20.0;
constexpr double kLongWatchdogSeconds = 60.0;
constexpr std::string_view kHelloName = "localhost";
constexpr std::string_view kBoundary = "SMTPMessage--Separator--Delimiter";
constexpr std::string_view kMasked = "********";
constexpr std::size_t kBase64LineLength = 76;
// The relay's text of a refusal reaches the user; a relay cannot make it longer than this.
constexpr std::size_t kMaxRefusalTextBytes = 200;

bool isLineSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string base64(std::string_view bytes) {
  Result<std::string> encoded = Base64Data::encodeBase64(bytes);
  return encoded ? std::move(encoded).value() : std::string();
}

// CR, LF or NUL would end the command or header early.
bool hasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isSafeAddress(std::string_view address) {
  return !hasLineBreakOrNul(address) && address.find_first_of("<>") == std::string_view::npos;
}

// A header value may be folded ("\r\n" followed by a blank); any other line break or a NUL
// would start a header or a body of its own.
bool isSafeHeaderValue(std::string_view value) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\0' || c == '\n') return false;
    if (c != '\r') continue;
    if (i + 2 >= value.size() || value[i + 1] != '\n') return false;
    if (value[i + 2] != ' ' && value[i + 2] != '\t') return false;
    i += 2;
  }
  return true;
}

// The blank-separated words of `text`, lowercased.
std::vector<std::string> lowercaseWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t position = 0;
  while (true) {
    position = text.find_first_not_of(" \t", position);
    if (position == std::string_view::npos) return words;
    const std::size_t end = std::min(text.find_first_of(" \t", position), text.size());
    words.push_back(asciiLowercase(text.substr(position, end - position)));
    position = end;
  }
}

bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

// At most `limit` bytes of `text`, never ending inside a UTF-8 sequence.
std::string truncatedUtf8(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) --end;
  text.resize(end);
  return text;
}

// `text` fit to be shown: without control characters and outer blanks, and not too long.
std::string shownText(std::string_view text) {
  std::string kept;
  std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
               [](char c) { return !isControl(c); });
  const std::size_t first = kept.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  kept = kept.substr(first, kept.find_last_not_of(' ') - first + 1);
  return truncatedUtf8(std::move(kept), kMaxRefusalTextBytes);
}

// The refusals this client names with descriptions of its own, each in the state it answers.
std::optional<SMTPError::Code> namedRefusal(SMTPSendState state, int replyCode) {
  struct Named {
    SMTPSendState state;
    SMTPError::Code code;
  };
  static constexpr Named kNamed[] = {
      {SMTPSendState::kAwaitAuthResult, SMTPError::kLoginInvalid},
      {SMTPSendState::kAwaitRecipientOk, SMTPError::kRelayRejected},
      {SMTPSendState::kAwaitDataOk, SMTPError::kSendFailed},
  };
  for (const Named& named : kNamed) {
    if (named.state == state && named.code == replyCode) return named.code;
  }
  return std::nullopt;
}

bool isBase64Encoding(std::string_view encoding) {
  std::string value = asciiLowercase(encoding);
  value.erase(std::remove_if(value.begin(), value.end(), isLineSpace), value.end());
  return value == "base64";
}

// Base64 text without its white space, in lines of 76 characters.
std::string foldBase64(std::string_view text) {
  std::string folded;
  folded.reserve(text.size() + text.size() / kBase64LineLength * 2 + 2);
  std::size_t column = 0;
  for (char c : text) {
    if (isLineSpace(c)) continue;
    if (column == kBase64LineLength) {
      folded += "\r\n";
      column = 0;
    }
    folded += c;
    ++column;
  }
  return folded;
}

// Every line end (CR, LF or CRLF) as CRLF, and a "." doubled at the start of every line.
std::string toWireText(std::string_view text) {
  std::string wire;
  wire.reserve(text.size() + text.size() / 32 + 8);
  bool lineStart = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      wire += "\r\n";
      lineStart = true;
      continue;
    }
    if (lineStart && c == '.') wire += '.';
    wire += c;
    lineStart = false;
  }
  return wire;
}

const std::string* partValue(const SMTPPart& part, std::string_view key) {
  const auto found = part.find(key);
  return found == part.end() ? nullptr : &found->second;
}

}  // namespace

// One line of a reply: "NNN text" or a bare "NNN" ends the reply, "NNN-text" continues it.
struct SMTPMessage::ReplyLine {
  static ReplyLine parse(std::string_view line) {
    if (line.size() < 3 || !std::all_of(line.begin(), line.begin() + 3, isDigit)) return {};
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return {};
    const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    const bool last = line.size() == 3 || line[3] == ' ';
    return {code, last, line.size() > 4 ? line.substr(4) : std::string_view()};
  }

  bool is(int expected) const { return last && code == expected; }
  // The relay refuses: a final 4xx or 5xx reply.
  bool isRefusal() const { return last && code >= 400 && code <= 599; }
  // A "334" challenge whose text decodes to `prompt`, compared without regard to case.
  bool isPrompt(std::string_view prompt) const {
    if (!is(334)) return false;
    const Result<std::vector<std::uint8_t>> decoded = Base64Data::decodeBase64(text);
    return decoded && asciiLowercase(std::string(decoded->begin(), decoded->end())) == prompt;
  }

  int code = 0;  // 0: not a reply line at all
  bool last = false;
  std::string_view text;  // after the code and its separator

 private:
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
};

SMTPMessage::SMTPMessage(RunLoop& loop) : loop_(loop) {}

SMTPMessage::~SMTPMessage() = default;

void SMTPMessage::log(std::string_view text) const { loop_.log().line(text); }

// --- Starting ---------------------------------------------------------------------------------

bool SMTPMessage::send() {
  if (attempted_ || sendState_ != SMTPSendState::kIdle) {
    log("Message has already been sent!");
    return false;
  }
  attempted_ = true;
  if (std::optional<SMTPError> problem = checkMessage()) {
    log("Message refused: " + problem->description);
    finish(std::move(problem));
    return false;
  }
  return connectToNextPort();
}

std::optional<SMTPError> SMTPMessage::checkMessage() const {
  const auto missing = [](const char* what) {
    return SMTPError::withCode(SMTPError::kIncompleteMessage, what);
  };
  if (requiresAuth_ && login_.empty()) return missing("auth requires login");
  if (requiresAuth_ && pass_.empty()) return missing("auth requires pass");
  if (relayHost_.empty()) return missing("send requires relayHost");
  if (subject_.empty()) return missing("send requires subject");
  if (fromEmail_.empty()) return missing("send requires fromEmail");
  if (toEmail_.empty()) return missing("send requires toEmail");
  if (parts_.empty()) return missing("send requires parts");
  for (const SMTPPart& part : parts_) {
    for (const char* key :
         {kSMTPPartContentTypeKey, kSMTPPartContentTransferEncodingKey, kSMTPPartMessageKey}) {
      if (partValue(part, key) == nullptr) return missing("send requires parts");
    }
  }
  if (!isSafeAddress(fromEmail_) || !isSafeAddress(toEmail_) || hasLineBreakOrNul(subject_)) {
    return SMTPError::withCode(SMTPError::kInvalidAddressOrHeader);
  }
  for (const SMTPPart& part : parts_) {
    for (const char* key : {kSMTPPartContentDispositionKey, kSMTPPartContentTypeKey,
                            kSMTPPartContentTransferEncodingKey}) {
      const std::string* value = partValue(part, key);
      if (value != nullptr && !isSafeHeaderValue(*value)) {
        return SMTPError::withCode(SMTPError::kInvalidAddressOrHeader);
      }
    }
  }
  return std::nullopt;
}

bool SMTPMessage::connectToNextPort() {
  if (relayPorts_.empty()) {
    finish(SMTPError::withCode(SMTPError::kUnableToConnect));
    return false;
  }
  const std::uint16_t port = relayPorts_.front();
  relayPorts_.erase(relayPorts_.begin());
  log("C: Attempting to connect to server at: " + relayHost_ + ":" + std::to_string(port));
  connectTimer_ = loop_.schedule(connectTimeout_, [this] { connectionConnectedCheck(); });
  // A port of 0 or a host the stream cannot use fails as an error event, like a refusal.
  stream_ = std::make_unique<Stream>(loop_, relayHost_, port, this);
  sendState_ = SMTPSendState::kAwaitGreeting;
  isSecure_ = false;
  inputString_.clear();
  stream_->open();
  return true;
}

void SMTPMessage::connectionConnectedCheck() {
  connectTimer_ = Timer();
  if (finished_ || sendState_ != SMTPSendState::kAwaitGreeting) return;
  log("No greeting from " + relayHost_ + " in time");
  cleanUpStreams();
  sendState_ = SMTPSendState::kIdle;
  connectToNextPort();
}

// --- Stream events ----------------------------------------------------------------------------

void SMTPMessage::handleEvent(Stream& stream, StreamEvent event) {
  if (finished_ || &stream != stream_.get()) return;
  switch (event) {
    case StreamEvent::kHasBytesAvailable:
      readAvailableBytes(stream);
      return;
    case StreamEvent::kEndEncountered:
      connectionEnded();
      return;
    case StreamEvent::kErrorOccurred:
      connectionFailed(stream);
      return;
    case StreamEvent::kOpenCompleted:
    case StreamEvent::kTlsEstablished:
      return;
  }
}

void SMTPMessage::readAvailableBytes(Stream& stream) {
  std::array<char, kReadSize> buffer{};
  const std::size_t count = stream.read(buffer);
  if (count == 0) {
    log("No buffer!");
    return;
  }
  inputString_.append(buffer.data(), count);
  parseBuffer();
}

void SMTPMessage::connectionEnded() {
  log("Connection closed by " + relayHost_);
  // Whatever came without a final line end is still a line.
  if (!inputString_.empty() && parseLines(true)) return;
  // The relay accepted the message before it was asked to QUIT; hanging up instead of saying
  // goodbye does not undo that.
  if (sendState_ == SMTPSendState::kAwaitQuitOk || sendState_ == SMTPSendState::kSent) {
    finish(std::nullopt);
    return;
  }
  finish(SMTPError::withCode(SMTPError::kConnectionInterrupted));
}

void SMTPMessage::connectionFailed(Stream& stream) {
  const Status status = stream.error();
  log("Connection failed: " + status.toString());
  if (sendState_ == SMTPSendState::kAwaitGreeting) {
    // Refused, unreachable or reset before a greeting: this port is no good, try the next.
    connectTimer_ = Timer();
    cleanUpStreams();
    sendState_ = SMTPSendState::kIdle;
    connectToNextPort();
    return;
  }
  if (status.code() == Status::Code::kTlsError) {
    finish(SMTPError::withCode(SMTPError::kUnableToStartTls));
    return;
  }
  if (sendState_ == SMTPSendState::kAwaitQuitOk) {
    finish(std::nullopt);
    return;
  }
  finish(SMTPError::withCode(SMTPError::kConnectionInterrupted));
}

// --- Replies ----------------------------------------------------------------------------------

void SMTPMessage::parseBuffer() { parseLines(false); }

bool SMTPMessage::parseLines(bool atEnd) {
  if (finished_) return true;
  std::optional<SMTPError> error;
  std::size_t position = 0;
  while (std::optional<std::string> line = nextLine(position, atEnd)) {
    if (!handleLine(*line, error)) {
      // The relay's go-ahead for TLS: nothing it sent in the clear after it may be believed.
      if (position < inputString_.size()) {
        log("Discarded " + std::to_string(inputString_.size() - position) +
            " bytes received after the STARTTLS reply");
      }
      position = inputString_.size();
      break;
    }
    // The attempt is decided; whatever else came in this read is not acted on.
    if (error || sendState_ == SMTPSendState::kSent) break;
  }
  inputString_.erase(0, position);
  if (sendState_ == SMTPSendState::kSent) {
    finish(std::nullopt);
    return true;
  }
  if (error) {
    finish(std::move(error));
    return true;
  }
  keepWatching();
  return false;
}

std::optional<std::string> SMTPMessage::nextLine(std::size_t& position, bool atEnd) const {
  while (position < inputString_.size() && isLineSpace(inputString_[position])) ++position;
  if (position == inputString_.size()) return std::nullopt;
  std::size_t end = inputString_.find_first_of("\r\n", position);
  if (end == std::string::npos) {
    if (!atEnd && inputString_.size() - position <= kMaxPendingLine) return std::nullopt;
    end = inputString_.size();
  }
  std::string line = inputString_.substr(position, end - position);
  position = end;
  return line;
}

bool SMTPMessage::handleLine(std::string_view line, std::optional<SMTPError>& error) {
  stopWatchdog();
  log(std::string("S: ").append(line));
  if (!isWaitingForReply()) return true;
  const ReplyLine reply = ReplyLine::parse(line);
  if (reply.isRefusal()) {
    settleRefusal(reply, line, error);
    return true;
  }
  return moveOn(reply, error);
}

bool SMTPMessage::moveOn(const ReplyLine& reply, std::optional<SMTPError>& error) {
  switch (sendState_) {
    case SMTPSendState::kAwaitGreeting:
      if (reply.is(220)) sendHello();
      return true;
    case SMTPSendState::kAwaitHello:
      handleHelloLine(reply, error);
      return true;
    case SMTPSendState::kAwaitTls:
      return reply.is(220) ? beginTls(error) : true;
    case SMTPSendState::kAwaitUserPrompt:
      if (reply.isPrompt("username:")) {
        sendState_ = SMTPSendState::kAwaitPasswordPrompt;
        sendCommand(base64(login_) + "\r\n", kMasked);
      }
      return true;
    case SMTPSendState::kAwaitPasswordPrompt:
      if (reply.isPrompt("password:")) {
        sendState_ = SMTPSendState::kAwaitAuthResult;
        sendCommand(base64(pass_) + "\r\n", kMasked);
      }
      return true;
    case SMTPSendState::kAwaitAuthResult:
      if (reply.is(235)) sendMailFrom();
      return true;
    case SMTPSendState::kAwaitSenderOk:
      if (reply.is(250)) {
        sendState_ = SMTPSendState::kAwaitRecipientOk;
        sendCommand("RCPT TO:<" + toEmail_ + ">\r\n");
      }
      return true;
    case SMTPSendState::kAwaitRecipientOk:
      if (reply.is(250)) {
        sendState_ = SMTPSendState::kAwaitDataGo;
        sendCommand("DATA\r\n");
      }
      return true;
    case SMTPSendState::kAwaitDataGo:
      if (reply.is(354)) {
        sendState_ = SMTPSendState::kAwaitDataOk;
        sendParts();
      }
      return true;
    case SMTPSendState::kAwaitDataOk:
      if (reply.is(250)) {
        sendState_ = SMTPSendState::kAwaitQuitOk;
        sendCommand("QUIT\r\n");
      }
      return true;
    case SMTPSendState::kAwaitQuitOk:
      if (reply.is(221)) sendState_ = SMTPSendState::kSent;
      return true;
    case SMTPSendState::kIdle:
    case SMTPSendState::kSent:
      return true;
  }
  return true;
}

void SMTPMessage::settleRefusal(const ReplyLine& reply, std::string_view line,
                                std::optional<SMTPError>& error) {
  // The relay took the message before it was asked to QUIT; refusing the QUIT does not undo
  // that, as silence or a hang-up at this point does not.
  if (sendState_ == SMTPSendState::kAwaitQuitOk) {
    sendState_ = SMTPSendState::kSent;
    return;
  }
  if (const std::optional<SMTPError::Code> named = namedRefusal(sendState_, reply.code)) {
    error = SMTPError::withCode(*named);
    return;
  }
  std::string description = shownText(reply.text);
  if (description.empty()) description = shownText(line);
  error = SMTPError::withReplyCode(reply.code, std::move(description));
}

// Capabilities may come on any line of the reply, the last one included.
void SMTPMessage::handleHelloLine(const ReplyLine& reply, std::optional<SMTPError>& error) {
  if (reply.code != 250) return;
  const std::vector<std::string> words = lowercaseWords(reply.text);
  if (!words.empty() && words.front() == "starttls") {
    sendState_ = SMTPSendState::kAwaitTls;
    sendCommand("STARTTLS\r\n");
    return;
  }
  learnCapability(words);
  if (!reply.last) return;
  if (requiresAuth_) {
    beginAuthentication(error);
  } else {
    sendMailFrom();
  }
}

// `words`: one lowercased capability line, the keyword first ("auth plain login"; also the old
// form "auth=login").
void SMTPMessage::learnCapability(const std::vector<std::string>& words) {
  if (words.empty()) return;
  const std::string_view keyword = words.front();
  if (keyword == "8bitmime") {
    server8bitMessages_ = true;
    return;
  }
  std::vector<std::string_view> mechanisms(words.begin() + 1, words.end());
  if (keyword.starts_with("auth=")) {
    mechanisms.push_back(keyword.substr(5));
  } else if (keyword != "auth") {
    return;
  }
  for (const std::string_view mechanism : mechanisms) {
    serverAuthCRAMMD5_ = serverAuthCRAMMD5_ || mechanism == "cram-md5";
    serverAuthPLAIN_ = serverAuthPLAIN_ || mechanism == "plain";
    serverAuthLOGIN_ = serverAuthLOGIN_ || mechanism == "login";
    serverAuthDIGESTMD5_ = serverAuthDIGESTMD5_ || mechanism == "digest-md5";
  }
}

void SMTPMessage::beginAuthentication(std::optional<SMTPError>& error) {
  const bool encrypted = stream_ != nullptr && stream_->isSecure();
  if (!encrypted && !(allowsCleartextAuthOnLoopback_ && isLoopbackRelay(relayHost_))) {
    log("Refusing to send credentials without TLS");
    error = SMTPError::withCode(SMTPError::kUnableToStartTls);
    return;
  }
  if (serverAuthPLAIN_) {
    sendState_ = SMTPSendState::kAwaitAuthResult;
    std::string credentials;
    credentials.append(1, '\0').append(login_).append(1, '\0').append(pass_);
    sendCommand("AUTH PLAIN " + base64(credentials) + "\r\n",
                std::string("AUTH PLAIN ").append(kMasked));
  } else if (serverAuthLOGIN_) {
    sendState_ = SMTPSendState::kAwaitUserPrompt;
    sendCommand("AUTH LOGIN\r\n");
  } else {
    error = SMTPError::withCode(SMTPError::kUnsupportedLoginMechanism);
  }
}

bool SMTPMessage::beginTls(std::optional<SMTPError>& error) {
  TlsOptions options;
  options.caFile = tlsCAFile_;
  if (!validateSSLChain_) {
    log("WARNING: Will not validate SSL chain!!!");
    options.verification = TlsVerification::kNone;
  }
  if (stream_ == nullptr || !stream_->startTls(options)) {
    error = SMTPError::withCode(SMTPError::kUnableToStartTls);
    return false;
  }
  log("Beginning TLSv1...");
  isSecure_ = true;
  forgetCapabilities();
  sendHello();
  return false;
}

// Whatever the relay said before TLS could have come from anyone on the path.
void SMTPMessage::forgetCapabilities() {
  serverAuthCRAMMD5_ = false;
  serverAuthPLAIN_ = false;
  serverAuthLOGIN_ = false;
  serverAuthDIGESTMD5_ = false;
  server8bitMessages_ = false;
}

// --- Commands ---------------------------------------------------------------------------------

void SMTPMessage::sendCommand(std::string_view line, std::optional<std::string_view> logged) {
  std::string_view shown = logged.value_or(line);
  if (shown.size() >= 2 && shown.substr(shown.size() - 2) == "\r\n") shown.remove_suffix(2);
  log(std::string("C: ").append(shown));
  if (stream_ != nullptr) stream_->write(line);
  startShortWatchdog();
}

void SMTPMessage::sendHello() {
  sendState_ = SMTPSendState::kAwaitHello;
  sendCommand("EHLO " + std::string(kHelloName) + "\r\n");
}

void SMTPMessage::sendMailFrom() {
  sendState_ = SMTPSendState::kAwaitSenderOk;
  sendCommand("MAIL FROM:<" + fromEmail_ + ">\r\n");
}

void SMTPMessage::sendParts() {
  const std::string payload = dataPayload();
  log("C: " + payload);
  if (stream_ != nullptr) stream_->write(payload);
  startLongWatchdog();
}

std::string SMTPMessage::dataPayload() const {
  const std::string separator = "--" + std::string(kBoundary);
  std::string text;
  text += "From:" + fromEmail_ + "\r\n";
  text += "To:" + toEmail_ + "\r\n";
  text += "Content-Type: multipart/mixed; boundary=" + std::string(kBoundary) + "\r\n";
  text += "Mime-Version: 1.0 (SMTPMessage 1.0)\r\n";
  text += "Subject:" + subject_ + "\r\n\r\n";
  text += separator + "\r\n";
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    const SMTPPart& part = parts_[i];
    const auto value = [&part](const char* key) {
      const std::string* found = partValue(part, key);
      return found != nullptr ? std::string_view(*found) : std::string_view();
    };
    if (partValue(part, kSMTPPartContentDispositionKey) != nullptr) {
      text.append("Content-Disposition: ").append(value(kSMTPPartContentDispositionKey)) += "\r\n";
    }
    text.append("Content-Type: ").append(value(kSMTPPartContentTypeKey)) += "\r\n";
    const std::string_view encoding = value(kSMTPPartContentTransferEncodingKey);
    text.append("Content-Transfer-Encoding: ").append(encoding) += "\r\n\r\n";
    const std::string_view body = value(kSMTPPartMessageKey);
    text += isBase64Encoding(encoding) ? foldBase64(body) : std::string(body);
    text += "\r\n";
    text += i + 1 < parts_.size() ? separator + "\r\n" : separator + "--";
  }
  return toWireText(text) + "\r\n.\r\n";
}

// --- Watchdog and ending ----------------------------------------------------------------------

void SMTPMessage::startShortWatchdog() {
  log("*** starting short watchdog ***");
  watchdogTimer_ = loop_.schedule(kShortWatchdogSeconds, [this] { connectionWatchdog(); });
}

void SMTPMessage::startLongWatchdog() {
  log("*** starting long watchdog ***");
  watchdogTimer_ = loop_.schedule(kLongWatchdogSeconds, [this] { connectionWatchdog(); });
}

void SMTPMessage::stopWatchdog() {
  log("*** stopping watchdog ***");
  watchdogTimer_ = Timer();
}

bool SMTPMessage::isWaitingForReply() const {
  return sendState_ != SMTPSendState::kIdle && sendState_ != SMTPSendState::kSent;
}

// Every line stops the watchdog, and a line that moved nothing sent no command to start it
// again: without this the attempt would wait for as long as the relay keeps the connection.
void SMTPMessage::keepWatching() {
  if (watchdogTimer_.isValid() || !isWaitingForReply()) return;
  // Until the greeting has come, the connect check bounds the wait.
  if (sendState_ == SMTPSendState::kAwaitGreeting && connectTimer_.isValid()) return;
  startShortWatchdog();
}

void SMTPMessage::connectionWatchdog() {
  watchdogTimer_ = Timer();
  if (finished_) return;
  log("*** watchdog fired ***");
  if (sendState_ == SMTPSendState::kAwaitQuitOk) {
    finish(std::nullopt);
    return;
  }
  finish(SMTPError::withCode(SMTPError::kTimeout));
}

void SMTPMessage::cleanUpStreams() {
  if (stream_ == nullptr) return;
  stream_->close();
  stream_.reset();
}

void SMTPMessage::finish(std::optional<SMTPError> error) {
  if (finished_) return;
  finished_ = true;
  connectTimer_ = Timer();
  watchdogTimer_ = Timer();
  cleanUpStreams();
  SMTPMessageDelegate* const delegate = delegate_;
  if (delegate == nullptr) return;
  if (error) {
    delegate->messageFailed(*this, *error);
  } else {
    delegate->messageSent(*this);
  }
}

// --- Helpers ----------------------------------------------------------------------------------

bool SMTPMessage::isLoopbackRelay(std::string_view host) {
  std::string name = asciiLowercase(host);
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (name == "localhost") return true;
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
    name = name.substr(1, name.size() - 2);
  }
  if (name.find('\0') != std::string::npos) return false;
  in_addr v4{};
  if (::inet_pton(AF_INET, name.c_str(), &v4) == 1) {
    return (ntohl(v4.s_addr) >> 24) == 127;
  }
  in6_addr v6{};
  if (::inet_pton(AF_INET6, name.c_str(), &v6) != 1) return false;
  if (IN6_IS_ADDR_LOOPBACK(&v6)) return true;
  return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
}

}  // namespace kinetra
