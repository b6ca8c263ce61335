// The client against a real relay: Debian's aiosmtpd, started by the test on a free loopback
// port with STARTTLS (a certificate made for the test) and AUTH required; what it received is
// parsed by Python's email package (tests/mail/smtp_relay.py). Besides delivery: a relay that
// refuses the recipient, and one that lists its AUTH mechanisms on the last line of its EHLO
// reply.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/RunLoop.h"
#include "mail/Base64Data.h"
#include "mail/SMTPMessage.h"
#include "mail/SMTPMessageDelegate.h"
#include "support/TemporaryDirectory.h"
#include "support/TestCertificates.h"

extern char** environ;

namespace kinetra {
namespace {

using testing::TemporaryDirectory;
using testing::TestCertificates;
using Clock = std::chrono::steady_clock;

constexpr double kBound = 30;  // real seconds for the whole conversation, TLS included
constexpr char kLogin[] = "kinetra.sender";
constexpr char kPass[] = "pa55word";

// A child process with a pipe to its standard input and one from its standard output. Every wait
// is bounded; the child is killed if it has not ended when the object goes.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& arguments) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
      closeBoth(toChild);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    closeInput();
    if (output_ >= 0) ::close(output_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  bool running() const { return pid_ > 0; }

  // The next line of the child's output, without its newline; nullopt at its end or when none
  // came within `seconds`.
  std::optional<std::string> readLine(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
      if (const auto end = buffered_.find('\n'); end != std::string::npos) {
        std::string line = buffered_.substr(0, end);
        buffered_.erase(0, end + 1);
        return line;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0 || output_ < 0) return std::nullopt;
      pollfd ready{output_, POLLIN, 0};
      if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[512];
      const ssize_t count = ::read(output_, chunk, sizeof chunk);
      if (count <= 0) return std::nullopt;
      buffered_.append(chunk, static_cast<std::size_t>(count));
    }
  }

  // Closes the child's input (its signal to finish) and waits up to `seconds` for the line
  // `last`; then reaps it. Returns whether `last` came.
  bool finish(const std::string& last, double seconds) {
    closeInput();
    bool seen = false;
    while (auto line = readLine(seconds)) {
      if (*line == last) {
        seen = true;
        break;
      }
    }
    if (!seen) ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return seen && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  static void closeBoth(int (&pipe)[2]) {
    ::close(pipe[0]);
    ::close(pipe[1]);
  }
  void closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
};

class Outcome : public SMTPMessageDelegate {
 public:
  void messageSent(SMTPMessage&) override { ++sent; }
  void messageFailed(SMTPMessage&, const SMTPError& error) override { errors.push_back(error); }
  int sent = 0;
  std::vector<SMTPError> errors;
};

std::string fileContents(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// smtp_relay.py in a child process, with the account kLogin/kPass and a certificate signed by
// the test's CA; `options` are the script's options for a relay that behaves differently.
class RealRelay {
 public:
  explicit RealRelay(const std::vector<std::string>& options) {
    if (directory_.path().empty()) return;
    writeFile(directory_ / "relay.crt", certificates_.caSigned().certificatePem);
    writeFile(directory_ / "relay.key", certificates_.caSigned().privateKeyPem);
    std::vector<std::string> arguments = {
        KINETRA_TEST_PYTHON,
        std::string(KINETRA_TEST_SOURCE_DIR) + "/tests/mail/smtp_relay.py",
        "--cert",
        (directory_ / "relay.crt").string(),
        "--key",
        (directory_ / "relay.key").string(),
        "--login",
        kLogin,
        "--password",
        kPass,
        "--out",
        directory_.path().string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    process_ = std::make_unique<ChildProcess>(arguments);
    if (!process_->running()) return;
    const std::optional<std::string> portLine = process_->readLine(kBound);
    if (portLine && portLine->rfind("PORT ", 0) == 0) {
      port_ = static_cast<std::uint16_t>(std::stoi(portLine->substr(5)));
    }
  }

  // 0 when the relay did not start.
  std::uint16_t port() const { return port_; }
  std::string caFile() const { return certificates_.caFile(); }
  std::filesystem::path file(const std::string& name) const { return directory_ / name; }
  // Stops the relay; true when it wrote its summary and ended cleanly.
  bool finish() { return process_ != nullptr && process_->finish("DONE", kBound); }
  nlohmann::json summary() const {
    return nlohmann::json::parse(fileContents(file("summary.json")));
  }

 private:
  TestCertificates certificates_;
  TemporaryDirectory directory_;
  std::unique_ptr<ChildProcess> process_;
  std::uint16_t port_ = 0;
};

// A message to the relay as a remote one would get it: over TLS, authenticated, or not at all.
void address(SMTPMessage& message, const RealRelay& relay, Outcome& outcome) {
  message.setRelayHost("localhost");
  message.setRelayPorts({relay.port()});
  message.setTlsCAFile(relay.caFile());
  message.setAllowsCleartextAuthOnLoopback(false);
  message.setRequiresAuth(true);
  message.setLogin(kLogin);
  message.setPass(kPass);
  message.setFromEmail("log@kinetra.example");
  message.setToEmail("athlete@example.org");
  message.setSubject("Kinetra Log");
  message.setDelegate(&outcome);
}

bool runUntilOutcome(RunLoop& loop, const Outcome& outcome) {
  return loop.runUntil([&] { return outcome.sent + outcome.errors.size() > 0; }, kBound);
}

class SMTPRelayIntegrationTest : public ::testing::TestWithParam<const char*> {};

// The parameter is the mechanism the relay offers: both (the client takes PLAIN) or LOGIN only.
TEST_P(SMTPRelayIntegrationTest, DeliversTextAndA200KilobyteAttachmentOverStartTls) {
  const std::string mechanism = GetParam();
  std::vector<std::string> options;
  if (mechanism == "LOGIN") options = {"--exclude-mechanism", "PLAIN"};
  RealRelay relay(options);
  ASSERT_NE(relay.port(), 0);

  std::vector<std::uint8_t> attachment(200 * 1024);
  std::mt19937 random(7);
  for (auto& byte : attachment) byte = static_cast<std::uint8_t>(random());
  const Result<std::string> encoded = Base64Data::encodeBase64(attachment);
  ASSERT_TRUE(encoded.ok());
  const std::string letter =
      "Hi,\n\nAttached to this email is your requested workout log.\n.\n..a line with dots\n"
      "\nRegards,\nKinetra Team";
  const std::string name = "\"Kinetra_Log_Jun 11, 2024.csv\"";

  RunLoop loop;
  std::vector<std::string> log;
  loop.log().setSink([&log](std::string_view line) { log.emplace_back(line); });
  Outcome outcome;
  {
    SMTPMessage message(loop);
    address(message, relay, outcome);
    message.setParts({
        {{kSMTPPartContentTypeKey, "text/plain"},
         {kSMTPPartMessageKey, letter},
         {kSMTPPartContentTransferEncodingKey, "7bit"}},
        {{kSMTPPartContentTypeKey, "text/directory;\r\n\tx-unix-mode=0644;\r\n\tname=" + name},
         {kSMTPPartContentDispositionKey, "attachment;\r\n\tfilename=" + name},
         {kSMTPPartMessageKey, *encoded},
         {kSMTPPartContentTransferEncodingKey, "base64"}},
    });
    ASSERT_TRUE(message.send());
    ASSERT_TRUE(runUntilOutcome(loop, outcome));
    ASSERT_EQ(outcome.sent, 1) << (outcome.errors.empty() ? "" : outcome.errors[0].description);
    EXPECT_EQ(message.sendState(), SMTPSendState::kSent);
  }
  ASSERT_TRUE(relay.finish());

  const auto summary = relay.summary();
  ASSERT_TRUE(summary.at("received").get<bool>());
  EXPECT_TRUE(summary.at("tls").get<bool>());
  EXPECT_EQ(summary.at("mechanisms"),
            nlohmann::json::array({mechanism == "LOGIN" ? "LOGIN" : "PLAIN"}));
  EXPECT_EQ(summary.at("mail_from"), "log@kinetra.example");
  EXPECT_EQ(summary.at("rcpt_tos"), nlohmann::json::array({"athlete@example.org"}));
  EXPECT_EQ(summary.at("from"), "log@kinetra.example");
  EXPECT_EQ(summary.at("to"), "athlete@example.org");
  EXPECT_EQ(summary.at("subject"), "Kinetra Log");
  EXPECT_EQ(summary.at("content_type"), "multipart/mixed");
  EXPECT_TRUE(summary.at("defects").empty()) << summary.dump();

  const auto& parts = summary.at("parts");
  ASSERT_EQ(parts.size(), 2u) << summary.dump();
  EXPECT_EQ(parts[0].at("content_type"), "text/plain");
  EXPECT_TRUE(parts[0].at("disposition").is_null());
  EXPECT_EQ(parts[1].at("content_type"), "text/directory");
  EXPECT_EQ(parts[1].at("disposition"), "attachment");
  EXPECT_EQ(parts[1].at("filename"), "Kinetra_Log_Jun 11, 2024.csv");
  EXPECT_EQ(parts[1].at("encoding"), "base64");
  EXPECT_TRUE(parts[0].at("defects").empty() && parts[1].at("defects").empty()) << summary.dump();

  // The text arrives with CRLF line ends and its dots unstuffed by the relay.
  std::string wireLetter;
  for (char c : letter) wireLetter += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(fileContents(relay.file("text.txt")), wireLetter);
  const std::string received = fileContents(relay.file("attachment.bin"));
  EXPECT_TRUE(std::vector<std::uint8_t>(received.begin(), received.end()) == attachment)
      << received.size() << " bytes received";

  for (const std::string& line : log) {
    EXPECT_EQ(line.find(kPass), std::string::npos) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Mechanisms, SMTPRelayIntegrationTest, ::testing::Values("PLAIN", "LOGIN"));

const std::vector<SMTPPart> kShortLetter = {{{kSMTPPartContentTypeKey, "text/plain"},
                                             {kSMTPPartContentTransferEncodingKey, "7bit"},
                                             {kSMTPPartMessageKey, "Hi"}}};

// Not the watchdog (-5) nor the relay hanging up at last (-4): the relay's own answer, at once.
TEST(SMTPRealRelayTest, ARefusedRecipientEndsTheAttemptWithTheRelaysCode) {
  RealRelay relay({"--refuse-recipient", "athlete@example.org"});
  ASSERT_NE(relay.port(), 0);
  RunLoop loop;
  Outcome outcome;
  {
    SMTPMessage message(loop);
    address(message, relay, outcome);
    message.setParts(kShortLetter);
    ASSERT_TRUE(message.send());
    ASSERT_TRUE(runUntilOutcome(loop, outcome));
    EXPECT_EQ(outcome.sent, 0);
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0].code, 550);
    EXPECT_EQ(outcome.errors[0].description,
              "5.1.1 <athlete@example.org>: Recipient address rejected");
    EXPECT_EQ(message.sendState(), SMTPSendState::kAwaitRecipientOk);
  }
  ASSERT_TRUE(relay.finish());
  EXPECT_FALSE(relay.summary().at("received").get<bool>());
}

TEST(SMTPRealRelayTest, MechanismsListedOnTheLastHelloLineAreUsed) {
  RealRelay relay({"--auth-last"});
  ASSERT_NE(relay.port(), 0);
  RunLoop loop;
  std::vector<std::string> log;
  loop.log().setSink([&log](std::string_view line) { log.emplace_back(line); });
  Outcome outcome;
  {
    SMTPMessage message(loop);
    address(message, relay, outcome);
    message.setParts(kShortLetter);
    ASSERT_TRUE(message.send());
    ASSERT_TRUE(runUntilOutcome(loop, outcome));
    ASSERT_EQ(outcome.sent, 1) << (outcome.errors.empty() ? "" : outcome.errors[0].description);
  }
  ASSERT_TRUE(relay.finish());
  const auto summary = relay.summary();
  EXPECT_TRUE(summary.at("received").get<bool>());
  EXPECT_EQ(summary.at("mechanisms"), nlohmann::json::array({"PLAIN"}));
  // The relay really did put them last.
  EXPECT_NE(std::find_if(log.begin(), log.end(),
                         [](const std::string& line) { return line.starts_with("S: 250 AUTH "); }),
            log.end());
}

}  // namespace
}  // namespace kinetra
