#include "mail/SMTPMessage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ManualClock.h"
#include "foundation/RunLoop.h"
#include "mail/Base64Data.h"
#include "mail/SMTPMessageDelegate.h"
#include "support/LoopbackServer.h"
#include "support/TestCertificates.h"

namespace kinetra {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::LoopbackServer;
using ::testing::Not;
using testing::PeerConnection;
using testing::TestCertificates;
using State = SMTPSendState;

constexpr double kBound = 10;  // real seconds a test may wait for loopback I/O before failing
constexpr char kLogin[] = "kinetra.sender";
constexpr char kPass[] = "s3cr3t!pw";

std::string base64(std::string_view bytes) { return *Base64Data::encodeBase64(bytes); }
std::string plainCredentials() {
  return base64(std::string(1, '\0') + kLogin + std::string(1, '\0') + kPass);
}

class Outcome : public SMTPMessageDelegate {
 public:
  void messageSent(SMTPMessage& message) override {
    ++sent;
    if (then) then(message);
  }
  void messageFailed(SMTPMessage& message, const SMTPError& error) override {
    errors.push_back(error);
    if (then) then(message);
  }
  std::size_t calls() const { return static_cast<std::size_t>(sent) + errors.size(); }
  int code() const { return errors.empty() ? 0 : errors.front().code; }

  int sent = 0;
  std::vector<SMTPError> errors;
  std::function<void(SMTPMessage&)> then;
};

// What the scripted relay heard; read by the test after LoopbackServer::join().
struct Heard {
  std::vector<std::string> lines;
  std::string data;
  bool tls = false;
};

// The relay's end of a conversation, driven line by line on the server's thread.
class Relay {
 public:
  Relay(PeerConnection& peer, Heard& heard) : peer_(peer), heard_(heard) {}

  void say(std::string_view text) { peer_.write(text); }
  std::string hear() {
    heard_.lines.push_back(peer_.readUntil("\r\n").value_or("<nothing>"));
    return heard_.lines.back();
  }
  void hearData() { heard_.data = peer_.readUntil("\r\n.\r\n").value_or("<nothing>"); }
  // Keeps every line until the client hangs up.
  void hearUntilHangUp() {
    while (auto line = peer_.readUntil("\r\n")) heard_.lines.push_back(*line);
  }
  bool acceptTls(const testing::TlsIdentity& identity) {
    heard_.tls = peer_.acceptTls({identity});
    return heard_.tls;
  }

  void greet(std::string_view helloReply) {
    say("220 relay.test ESMTP\r\n");
    hear();  // EHLO
    say(helloReply);
  }
  // MAIL FROM to QUIT, every command accepted.
  void acceptMessage() {
    hear();
    say("250 sender ok\r\n");
    hear();
    say("250 recipient ok\r\n");
    hear();
    say("354 go ahead\r\n");
    hearData();
    say("250 queued\r\n");
    hear();
    say("221 bye\r\n");
    hearUntilHangUp();
  }

 private:
  PeerConnection& peer_;
  Heard& heard_;
};

class SMTPMessageTest : public ::testing::Test {
 protected:
  SMTPMessageTest() {
    auto clock = std::make_unique<ManualClock>();
    clock_ = clock.get();
    loop_ = std::make_unique<RunLoop>(std::move(clock));
    loop_->log().setSink([this](std::string_view line) { log_.emplace_back(line); });
  }

  std::unique_ptr<LoopbackServer> relay(std::function<void(Relay&)> script) {
    return std::make_unique<LoopbackServer>([this, script](PeerConnection* peer) {
      if (peer == nullptr) return;
      Relay relay(*peer, heard_);
      script(relay);
    });
  }

  std::unique_ptr<SMTPMessage> message(std::vector<std::uint16_t> ports) {
    auto message = std::make_unique<SMTPMessage>(*loop_);
    message->setRelayHost("127.0.0.1");
    message->setRelayPorts(std::move(ports));
    message->setFromEmail("log@kinetra.example");
    message->setToEmail("athlete@example.org");
    message->setSubject("Kinetra Log");
    message->setParts({{{kSMTPPartContentTypeKey, "text/plain"},
                        {kSMTPPartContentTransferEncodingKey, "7bit"},
                        {kSMTPPartMessageKey, "Hi,\n\nsee attached."}}});
    message->setDelegate(&outcome_);
    return message;
  }
  std::unique_ptr<SMTPMessage> authenticating(std::uint16_t port) {
    auto result = message({port});
    result->setRequiresAuth(true);
    result->setLogin(kLogin);
    result->setPass(kPass);
    return result;
  }

  bool waitFor(const std::function<bool()>& condition) {
    return loop_->runUntil(condition, kBound);
  }
  bool waitForOutcome() {
    return waitFor([this] { return outcome_.calls() > 0; });
  }
  bool logged(std::string_view line) const {
    return std::find(log_.begin(), log_.end(), line) != log_.end();
  }
  bool logMentions(std::string_view text) const {
    return std::any_of(log_.begin(), log_.end(),
                       [&](const std::string& line) { return line.find(text) != line.npos; });
  }

  ManualClock* clock_ = nullptr;
  std::unique_ptr<RunLoop> loop_;
  std::vector<std::string> log_;
  Outcome outcome_;
  Heard heard_;
  TestCertificates certificates_;
};

// --- The whole conversation -------------------------------------------------------------------

TEST_F(SMTPMessageTest, GoesThroughEveryStateWithStartTlsAndAuthLogin) {
  auto server = relay([this](Relay& relay) {
    relay.greet("250-relay.test\r\n250-AUTH PLAIN\r\n250-STARTTLS\r\n250 HELP\r\n");
    relay.hear();  // STARTTLS
    // Injected in the clear behind the go-ahead: must never be believed.
    relay.say("220 go ahead\r\n250-AUTH PLAIN CRAM-MD5\r\n250 fake\r\n");
    if (!relay.acceptTls(certificates_.caSigned())) return;
    relay.hear();  // EHLO again
    relay.say("250-relay.test\r\n250-AUTH LOGIN\r\n250 HELP\r\n");
    relay.hear();  // AUTH LOGIN
    relay.say("334 VXNlcm5hbWU6\r\n");
    relay.hear();
    relay.say("334 UGFzc3dvcmQ6\r\n");
    relay.hear();
    relay.say("235 authenticated\r\n");
    relay.acceptMessage();
  });
  auto sending = authenticating(server->port());
  sending->setTlsCAFile(certificates_.caFile());
  ASSERT_FALSE(sending->wantsSecure());

  std::vector<State> states = {sending->sendState()};
  ASSERT_TRUE(sending->send());
  const auto track = [&] {
    if (states.back() != sending->sendState()) states.push_back(sending->sendState());
    return outcome_.calls() > 0;
  };
  track();
  ASSERT_TRUE(waitFor(track));
  server->join();

  EXPECT_EQ(outcome_.sent, 1);
  EXPECT_THAT(
      states,
      ElementsAre(State::kIdle, State::kAwaitGreeting, State::kAwaitHello, State::kAwaitTls,
                  State::kAwaitHello, State::kAwaitUserPrompt, State::kAwaitPasswordPrompt,
                  State::kAwaitAuthResult, State::kAwaitSenderOk, State::kAwaitRecipientOk,
                  State::kAwaitDataGo, State::kAwaitDataOk, State::kAwaitQuitOk, State::kSent));
  EXPECT_TRUE(heard_.tls);
  EXPECT_TRUE(sending->isSecure());
  // AUTH LOGIN, because PLAIN was only ever offered before TLS or in the injected text.
  EXPECT_THAT(heard_.lines,
              ElementsAre("EHLO localhost\r\n", "STARTTLS\r\n", "EHLO localhost\r\n",
                          "AUTH LOGIN\r\n", base64(kLogin) + "\r\n", base64(kPass) + "\r\n",
                          "MAIL FROM:<log@kinetra.example>\r\n",
                          "RCPT TO:<athlete@example.org>\r\n", "DATA\r\n", "QUIT\r\n"));
  EXPECT_FALSE(sending->serverAuthPLAIN());
  EXPECT_FALSE(sending->serverAuthCRAMMD5());
  EXPECT_TRUE(sending->serverAuthLOGIN());
  EXPECT_EQ(heard_.data, sending->dataPayload());
  EXPECT_TRUE(logged("Beginning TLSv1..."));
  EXPECT_TRUE(logged("S: 220 go ahead"));
  EXPECT_FALSE(logMentions("fake"));
  EXPECT_TRUE(logged("C: STARTTLS"));
  EXPECT_TRUE(logged("*** starting long watchdog ***"));
}

TEST_F(SMTPMessageTest, CredentialsNeverReachTheLog) {
  for (const char* mechanism : {"PLAIN", "LOGIN"}) {
    log_.clear();
    outcome_ = Outcome();
    const bool plain = std::string_view(mechanism) == "PLAIN";
    auto server = relay([plain, mechanism](Relay& relay) {
      relay.greet(std::string("250-AUTH ") + mechanism + "\r\n250 ok\r\n");
      relay.hear();
      if (!plain) {
        relay.say("334 VXNlcm5hbWU6\r\n");
        relay.hear();
        relay.say("334 UGFzc3dvcmQ6\r\n");
        relay.hear();
      }
      relay.say("235 ok\r\n");
      relay.acceptMessage();
    });
    auto sending = authenticating(server->port());  // a loopback relay may hear them in clear
    ASSERT_TRUE(sending->send());
    ASSERT_TRUE(waitForOutcome());
    server->join();
    EXPECT_EQ(outcome_.sent, 1) << mechanism;
    for (const std::string& secret : {std::string(kLogin), std::string(kPass), base64(kLogin),
                                      base64(kPass), plainCredentials()}) {
      EXPECT_FALSE(logMentions(secret)) << mechanism << " leaked " << secret;
    }
    if (plain) {
      EXPECT_TRUE(logged("C: AUTH PLAIN ********"));
    } else {
      EXPECT_EQ(std::count(log_.begin(), log_.end(), "C: ********"), 2);
    }
  }
}

TEST_F(SMTPMessageTest, TheDelegateMayDestroyTheMessageWhenItHears) {
  auto server = relay([](Relay& relay) {
    relay.greet("250 ok\r\n");
    relay.acceptMessage();
  });
  auto sending = message({server->port()});
  outcome_.then = [&sending](SMTPMessage&) { sending.reset(); };
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  EXPECT_EQ(sending, nullptr);
  clock_->advance(120);
  EXPECT_EQ(outcome_.calls(), 1u);
}

// --- Authentication ---------------------------------------------------------------------------

TEST_F(SMTPMessageTest, PlainIsPreferredOverLoginAndRejectedCredentialsGive535) {
  auto server = relay([](Relay& relay) {
    relay.greet("250-relay.test\r\n250-AUTH LOGIN PLAIN\r\n250 HELP\r\n");
    relay.hear();
    relay.say("535 5.7.8 authentication failed\r\n");
    relay.hearUntilHangUp();
  });
  auto sending = authenticating(server->port());
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_EQ(heard_.lines.at(1), "AUTH PLAIN " + plainCredentials() + "\r\n");
  ASSERT_EQ(outcome_.errors.size(), 1u);
  EXPECT_EQ(outcome_.errors[0].code, 535);
  EXPECT_EQ(outcome_.errors[0].description, "login/password invalid");
  EXPECT_EQ(outcome_.errors[0].domain, "SMTPMessageError");
  EXPECT_EQ(sending->sendState(), State::kAwaitAuthResult);
  EXPECT_TRUE(sending->serverAuthLOGIN() && sending->serverAuthPLAIN());
}

TEST_F(SMTPMessageTest, CapabilitiesAreReadFromEveryHelloLineTheLastIncluded) {
  struct Case {
    const char* hello;
    std::string next;  // the command that must follow EHLO
  };
  const std::vector<Case> cases = {
      {"250-relay.test\r\n250 AUTH PLAIN LOGIN\r\n", "AUTH PLAIN " + plainCredentials() + "\r\n"},
      {"250-relay.test\r\n250 AUTH LOGIN\r\n", "AUTH LOGIN\r\n"},
      {"250-relay.test\r\n250-auth=login\r\n250 HELP\r\n", "AUTH LOGIN\r\n"},
      {"250-relay.test\r\n250 StartTLS\r\n", "STARTTLS\r\n"},
  };
  for (const Case& offer : cases) {
    SCOPED_TRACE(offer.hello);
    outcome_ = Outcome();
    heard_ = Heard();
    auto server = relay([&offer](Relay& relay) {
      relay.greet(offer.hello);
      relay.hear();
      relay.say("421 4.3.2 shutting down\r\n");
      relay.hearUntilHangUp();
    });
    auto sending = authenticating(server->port());
    ASSERT_TRUE(sending->send());
    ASSERT_TRUE(waitForOutcome());
    server->join();
    EXPECT_THAT(heard_.lines, ElementsAre("EHLO localhost\r\n", offer.next));
    EXPECT_EQ(outcome_.code(), 421);
  }
}

TEST_F(SMTPMessageTest, AuthLoginPromptsAreRecognisedWithoutRegardToCase) {
  auto server = relay([](Relay& relay) {
    relay.greet("250-relay.test\r\n250 AUTH LOGIN\r\n");
    relay.hear();
    relay.say("334 " + base64("username:") + "\r\n");
    relay.hear();
    relay.say("334 " + base64("PASSWORD:") + "\r\n");
    relay.hear();
    relay.say("235 ok\r\n");
    relay.acceptMessage();
  });
  auto sending = authenticating(server->port());
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_EQ(outcome_.sent, 1);
  ASSERT_GE(heard_.lines.size(), 4u);
  EXPECT_EQ(heard_.lines[2], base64(kLogin) + "\r\n");
  EXPECT_EQ(heard_.lines[3], base64(kPass) + "\r\n");
}

TEST_F(SMTPMessageTest, NoCredentialsGoOutWithoutTls) {
  auto server = relay([](Relay& relay) {
    relay.greet("250-relay.test\r\n250-AUTH PLAIN LOGIN\r\n250 HELP\r\n");
    relay.hearUntilHangUp();
  });
  auto sending = authenticating(server->port());
  sending->setAllowsCleartextAuthOnLoopback(false);  // as if the relay were remote
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_EQ(outcome_.code(), -1);
  EXPECT_EQ(outcome_.errors.at(0).description, "Unable to start TLS");
  EXPECT_THAT(heard_.lines, ElementsAre("EHLO localhost\r\n"));
  EXPECT_FALSE(logMentions("C: AUTH"));
}

TEST_F(SMTPMessageTest, OnlyLoopbackNamesCountAsLocalRelays) {
  for (const char* local :
       {"localhost", "LOCALHOST.", "127.0.0.1", "127.1.2.3", "::1", "[::1]", "::ffff:127.0.0.1"}) {
    EXPECT_TRUE(SMTPMessage::isLoopbackRelay(local)) << local;
  }
  for (const char* remote : {"smtp.example.org", "10.0.0.1", "128.0.0.1", "127.0.0.1.example.org",
                             "localhost.example.org", "::2", "", "::ffff:10.0.0.1"}) {
    EXPECT_FALSE(SMTPMessage::isLoopbackRelay(remote)) << remote;
  }
  EXPECT_FALSE(SMTPMessage::isLoopbackRelay(std::string("127.0.0.1\0evil", 14)));
}

// --- TLS --------------------------------------------------------------------------------------

TEST_F(SMTPMessageTest, AFailedCertificateCheckFailsAtOnceWithMinus1) {
  auto server = relay([this](Relay& relay) {
    relay.greet("250-STARTTLS\r\n250 ok\r\n");
    relay.hear();
    relay.say("220 go ahead\r\n");
    relay.acceptTls(certificates_.selfSigned());
  });
  auto sending = message({server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());  // no clock advance: not the watchdog
  EXPECT_EQ(outcome_.code(), -1);
  EXPECT_EQ(clock_->now().timeIntervalSince1970(), 0);
  clock_->advance(120);
  EXPECT_EQ(outcome_.calls(), 1u);
}

TEST_F(SMTPMessageTest, WithoutChainValidationASelfSignedRelayIsAcceptedWithAWarning) {
  auto server = relay([this](Relay& relay) {
    relay.greet("250-STARTTLS\r\n250 ok\r\n");
    relay.hear();
    relay.say("220 go ahead\r\n");
    if (!relay.acceptTls(certificates_.selfSigned())) return;
    relay.hear();
    relay.say("250 ok\r\n");
    relay.acceptMessage();
  });
  auto sending = message({server->port()});
  sending->setValidateSSLChain(false);
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_EQ(outcome_.sent, 1);
  EXPECT_TRUE(logged("WARNING: Will not validate SSL chain!!!"));
}

TEST_F(SMTPMessageTest, StartTlsThatCannotBeginFailsWithMinus1) {
  auto server = relay([](Relay& relay) {
    relay.greet("250-STARTTLS\r\n250 ok\r\n");
    relay.hear();
    relay.say("220 go ahead\r\n");
    relay.hearUntilHangUp();
  });
  auto sending = message({server->port()});
  sending->setTlsCAFile("/nonexistent/ca.pem");
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_EQ(outcome_.code(), -1);
  EXPECT_EQ(sending->sendState(), State::kAwaitTls);
}

// --- Connecting -------------------------------------------------------------------------------

TEST_F(SMTPMessageTest, NoPortsFailAtOnceWithMinus3) {
  auto sending = message({});
  EXPECT_FALSE(sending->send());
  EXPECT_EQ(outcome_.code(), -3);
  EXPECT_EQ(outcome_.errors.at(0).description, "unable to connect to server");
  EXPECT_FALSE(logMentions("Attempting to connect"));
}

TEST_F(SMTPMessageTest, NoGreetingOnTheOnlyPortGivesOneMinus3AfterEightSeconds) {
  std::atomic<bool> accepted{false};
  LoopbackServer server([&accepted](PeerConnection* peer) {
    if (peer == nullptr) return;
    accepted = true;
    peer->readUntilClosed();
  });
  auto sending = message({server.port()});
  ASSERT_TRUE(sending->send());
  EXPECT_TRUE(
      logged("C: Attempting to connect to server at: 127.0.0.1:" + std::to_string(server.port())));
  EXPECT_TRUE(sending->relayPorts().empty());
  ASSERT_TRUE(waitFor([&] { return accepted.load(); }));
  clock_->advance(7.9);
  EXPECT_EQ(outcome_.calls(), 0u);
  clock_->advance(0.1);
  EXPECT_EQ(outcome_.calls(), 1u);
  EXPECT_EQ(outcome_.code(), -3);
  EXPECT_FALSE(sending->connectTimer().isValid());
  clock_->advance(120);
  loop_->runPending();
  EXPECT_EQ(outcome_.calls(), 1u);
}

TEST_F(SMTPMessageTest, ASilentPortIsLeftForTheNextAfterTheConnectTimeout) {
  std::atomic<bool> accepted{false};
  LoopbackServer silent([&accepted](PeerConnection* peer) {
    if (peer == nullptr) return;
    accepted = true;
    peer->readUntilClosed();
  });
  auto server = relay([](Relay& relay) {
    relay.greet("250 ok\r\n");
    relay.acceptMessage();
  });
  auto sending = message({silent.port(), server->port()});
  sending->setConnectTimeout(3);
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitFor([&] { return accepted.load(); }));
  clock_->advance(3);
  EXPECT_EQ(outcome_.calls(), 0u);
  ASSERT_TRUE(waitForOutcome());
  EXPECT_EQ(outcome_.sent, 1);
}

TEST_F(SMTPMessageTest, ARefusedPortIsLeftForTheNextAndTheLastGivesMinus3) {
  auto server = relay([](Relay& relay) {
    relay.greet("250 ok\r\n");
    relay.acceptMessage();
  });
  auto sending = message({LoopbackServer::unusedPort(), server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  EXPECT_EQ(outcome_.sent, 1);

  Outcome refused;
  auto failing = message({LoopbackServer::unusedPort(), 0});
  failing->setDelegate(&refused);
  ASSERT_TRUE(failing->send());
  ASSERT_TRUE(waitFor([&] { return refused.calls() > 0; }));
  EXPECT_EQ(refused.code(), -3);
  clock_->advance(120);
  loop_->runPending();
  EXPECT_EQ(refused.calls(), 1u);
}

// --- Replies and failures ---------------------------------------------------------------------

TEST_F(SMTPMessageTest, HangingUpBeforeTheMessageWentOutGivesOneMinus4) {
  auto server = relay([](Relay& relay) {
    relay.greet("250 ok\r\n");
    relay.hear();  // MAIL FROM
  });
  auto sending = message({server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  EXPECT_EQ(outcome_.code(), -4);
  EXPECT_EQ(outcome_.errors.at(0).description, "connection was interrupted");
  clock_->advance(120);  // the watchdog of MAIL FROM must not speak again
  EXPECT_EQ(outcome_.calls(), 1u);
}

TEST_F(SMTPMessageTest, SilenceAfterACommandGivesMinus5After20Seconds) {
  std::atomic<bool> heardHello{false};
  LoopbackServer server([&heardHello](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->write("220 relay.test\r\n");
    heardHello = peer->readUntil("\r\n").has_value();
    peer->readUntilClosed();
  });
  auto sending = message({server.port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitFor([&] { return heardHello.load(); }));
  clock_->advance(19.9);
  EXPECT_EQ(outcome_.calls(), 0u);
  clock_->advance(0.1);
  EXPECT_EQ(outcome_.code(), -5);
  EXPECT_EQ(outcome_.errors.at(0).description, "timeout sending message");
  EXPECT_TRUE(logged("*** starting short watchdog ***"));
}

TEST_F(SMTPMessageTest, TheMessageItselfGetsSixtySecondsForItsReply) {
  std::atomic<bool> heardData{false};
  auto server = relay([&heardData](Relay& relay) {
    relay.greet("250 ok\r\n");
    relay.hear();
    relay.say("250 ok\r\n");
    relay.hear();
    relay.say("250 ok\r\n");
    relay.hear();
    relay.say("354 go ahead\r\n");
    relay.hearData();
    heardData = true;
    relay.hearUntilHangUp();
  });
  auto sending = message({server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitFor([&] { return heardData.load(); }));
  clock_->advance(59.9);
  EXPECT_EQ(outcome_.calls(), 0u);
  clock_->advance(0.1);
  EXPECT_EQ(outcome_.code(), -5);
  EXPECT_EQ(sending->sendState(), State::kAwaitDataOk);
}

TEST_F(SMTPMessageTest, SilenceAfterQuitCountsAsSent) {
  std::atomic<bool> heardQuit{false};
  auto server = relay([&heardQuit](Relay& relay) {
    relay.greet("250 ok\r\n");
    for (const char* reply : {"250 ok\r\n", "250 ok\r\n", "354 go\r\n"}) {
      relay.hear();
      relay.say(reply);
    }
    relay.hearData();
    relay.say("250 queued\r\n");
    relay.hear();
    heardQuit = true;
    relay.hearUntilHangUp();
  });
  auto sending = message({server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitFor([&] { return heardQuit.load(); }));
  clock_->advance(20);
  EXPECT_EQ(outcome_.sent, 1);
  EXPECT_TRUE(outcome_.errors.empty());
}

TEST_F(SMTPMessageTest, AnyReplyToQuitOrHangingUpInsteadIsSuccess) {
  // "": no reply to QUIT at all; a refusal of QUIT comes after the message was taken.
  for (const char* goodbye : {"221 bye\r\n", "221 bye", "", "554 5.3.0 no\r\n"}) {
    outcome_ = Outcome();
    auto server = relay([goodbye](Relay& relay) {
      relay.greet("250 ok\r\n");
      for (const char* reply : {"250 ok\r\n", "250 ok\r\n", "354 go\r\n"}) {
        relay.hear();
        relay.say(reply);
      }
      relay.hearData();
      relay.say("250 queued\r\n");
      relay.hear();
      relay.say(goodbye);
    });  // and the relay hangs up
    auto sending = message({server->port()});
    ASSERT_TRUE(sending->send());
    ASSERT_TRUE(waitForOutcome());
    EXPECT_EQ(outcome_.sent, 1) << goodbye;
    EXPECT_TRUE(outcome_.errors.empty()) << goodbye;
  }
}

TEST_F(SMTPMessageTest, EveryRefusalEndsTheAttemptAtOnceWithTheRelaysCode) {
  struct Case {
    const char* hello;
    bool authenticating;
    std::vector<std::string> replies;  // to the commands after EHLO; the last one refuses
    std::string refused;               // the last command heard ("DATA" for the payload)
    int code;
    std::string description;
  };
  const std::string rcpt = "RCPT TO:<athlete@example.org>\r\n";
  const std::string mail = "MAIL FROM:<log@kinetra.example>\r\n";
  const std::string plain = "AUTH PLAIN " + plainCredentials() + "\r\n";
  const std::vector<std::string> toData = {"250 ok\r\n", "250 ok\r\n", "354 go\r\n"};
  const auto afterData = [&toData](std::string refusal) {
    std::vector<std::string> replies = toData;
    replies.push_back(std::move(refusal));
    return replies;
  };
  const std::vector<Case> cases = {
      {"250 ok\r\n",
       false,
       {"250 ok\r\n", "550 5.1.1 <athlete@example.org>: unknown\r\n"},
       rcpt,
       550,
       "5.1.1 <athlete@example.org>: unknown"},
      {"250 ok\r\n",
       false,
       {"250 ok\r\n", "553 5.1.3 bad address\r\n"},
       rcpt,
       553,
       "5.1.3 bad address"},
      {"250 ok\r\n",
       false,
       {"250 ok\r\n", "530 auth\r\n"},
       rcpt,
       530,
       "relay rejected - server probably requires auth"},
      {"250 ok\r\n",
       false,
       {"530 5.7.0 Authentication required\r\n"},
       mail,
       530,
       "5.7.0 Authentication required"},
      {"250 ok\r\n", false, {"550\r\n"}, mail, 550, "550"},
      {"250 ok\r\n", false, afterData("552 5.3.4 Message too big\r\n"), "DATA\r\n", 552,
       "5.3.4 Message too big"},
      {"250 ok\r\n", false, afterData("554 5.7.1 Rejected as spam\r\n"), "DATA\r\n", 554,
       "5.7.1 Rejected as spam"},
      {"250 ok\r\n", false, afterData("550 no\r\n"), "DATA\r\n", 550, "error sending message"},
      {"250-STARTTLS\r\n250 ok\r\n",
       false,
       {"454 4.7.0 TLS not available\r\n"},
       "STARTTLS\r\n",
       454,
       "4.7.0 TLS not available"},
      {"250-AUTH PLAIN\r\n250 ok\r\n",
       true,
       {"534 5.7.9 Mechanism too weak\r\n"},
       plain,
       534,
       "5.7.9 Mechanism too weak"},
      {"250-AUTH PLAIN\r\n250 ok\r\n",
       true,
       {"454 4.7.0 Try again later\r\n"},
       plain,
       454,
       "4.7.0 Try again later"},
      {"421 4.3.2 going down\r\n", false, {}, "EHLO localhost\r\n", 421, "4.3.2 going down"},
      // The relay's text is shown to the user: no control characters, no endless text, no
      // broken UTF-8 sequence at the cut.
      {"250 ok\r\n", false, {"451 \x1b[1m4.3.0\x7f busy\t \r\n"}, mail, 451, "[1m4.3.0 busy"},
      {"250 ok\r\n",
       false,
       {"451 " + std::string(199, 'a') + "\xc3\xa9 tail\r\n"},
       mail,
       451,
       std::string(199, 'a')},
  };
  for (const Case& refusal : cases) {
    SCOPED_TRACE(refusal.replies.empty() ? refusal.hello : refusal.replies.back());
    outcome_ = Outcome();
    heard_ = Heard();
    auto server = relay([&refusal](Relay& relay) {
      relay.greet(refusal.hello);
      std::string_view previous;
      for (const std::string& reply : refusal.replies) {
        if (previous.starts_with("354")) {
          relay.hearData();
        } else {
          relay.hear();
        }
        relay.say(reply);
        previous = reply;
      }
      relay.hearUntilHangUp();
    });
    auto sending =
        refusal.authenticating ? authenticating(server->port()) : message({server->port()});
    ASSERT_TRUE(sending->send());
    ASSERT_TRUE(waitForOutcome());  // the clock stands still: no watchdog can have fired
    server->join();
    ASSERT_EQ(outcome_.errors.size(), 1u);
    EXPECT_EQ(outcome_.errors[0].code, refusal.code);
    EXPECT_EQ(outcome_.errors[0].description, refusal.description);
    EXPECT_EQ(heard_.lines.back(), refusal.refused);  // and nothing after it
    clock_->advance(120);
    loop_->runPending();
    EXPECT_EQ(outcome_.calls(), 1u);
  }
}

TEST_F(SMTPMessageTest, ALineThatMovesNothingRestartsTheShortWatchdog) {
  struct Case {
    bool authenticating;
    std::vector<std::string> replies;     // to EHLO and the commands after it
    std::vector<std::string> unexpected;  // lines answering the next command, moving nothing
  };
  const std::vector<Case> cases = {
      {false, {}, {"250-relay.test", "250-SIZE 1000"}},
      {true, {"250 AUTH LOGIN\r\n"}, {"334 " + base64("xyz")}},
      {false, {"250 ok\r\n"}, {"354 not now"}},
  };
  for (const Case& silence : cases) {
    SCOPED_TRACE(silence.unexpected.back());
    outcome_ = Outcome();
    std::atomic<bool> heardCommand{false};
    std::promise<void> release;
    auto server = relay([&](Relay& relay) {
      relay.say("220 relay.test\r\n");
      for (const std::string& reply : silence.replies) {
        relay.hear();
        relay.say(reply);
      }
      relay.hear();
      heardCommand = true;
      if (release.get_future().wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        return;
      }
      for (const std::string& line : silence.unexpected) relay.say(line + "\r\n");
      relay.hearUntilHangUp();
    });
    auto sending =
        silence.authenticating ? authenticating(server->port()) : message({server->port()});
    ASSERT_TRUE(sending->send());
    ASSERT_TRUE(waitFor([&] { return heardCommand.load(); }));
    clock_->advance(10);  // halfway through the command's own watchdog
    release.set_value();
    ASSERT_TRUE(waitFor([&] { return logged("S: " + silence.unexpected.back()); }));
    clock_->advance(19.9);
    EXPECT_EQ(outcome_.calls(), 0u);
    clock_->advance(0.1);
    EXPECT_EQ(outcome_.code(), -5);
    clock_->advance(120);
    EXPECT_EQ(outcome_.calls(), 1u);
  }
}

TEST_F(SMTPMessageTest, RepliesArrivingTogetherAreHandledInOrderUntilOneEndsTheAttempt) {
  auto server = relay([](Relay& relay) {
    relay.say("220 relay.test\r\n250 ok\r\n");  // greeting and EHLO reply at once
    relay.hear();
    relay.hear();  // MAIL FROM straight after EHLO, then the relay hangs up
  });
  auto sending = message({server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_THAT(heard_.lines,
              ElementsAre("EHLO localhost\r\n", "MAIL FROM:<log@kinetra.example>\r\n"));

  // A refusal ends the attempt at once: the 235 behind the 535 in the same read is not acted on.
  outcome_ = Outcome();
  heard_ = Heard();
  auto second = relay([](Relay& relay) {
    relay.greet("250-AUTH PLAIN\r\n250 ok\r\n");
    relay.hear();
    relay.say("535 no\r\n235 yes\r\n");
    relay.hearUntilHangUp();
  });
  auto authenticated = authenticating(second->port());
  ASSERT_TRUE(authenticated->send());
  ASSERT_TRUE(waitForOutcome());
  second->join();
  EXPECT_EQ(outcome_.code(), 535);
  EXPECT_EQ(authenticated->sendState(), State::kAwaitAuthResult);
  EXPECT_THAT(heard_.lines, ElementsAre("EHLO localhost\r\n", HasSubstr("AUTH PLAIN")));
  EXPECT_FALSE(logMentions("235 yes"));
  clock_->advance(120);
  EXPECT_EQ(outcome_.calls(), 1u);
}

TEST_F(SMTPMessageTest, AReplySplitAcrossReadsWaitsForItsLineEnd) {
  std::promise<void> release;
  auto server = relay([&release](Relay& relay) {
    relay.say("220 rea");
    if (release.get_future().wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      return;
    }
    relay.say("dy\r\n");
    relay.hear();
    relay.say("25");
    relay.say("0 ok\r\n");
    relay.acceptMessage();
  });
  auto sending = message({server->port()});
  ASSERT_TRUE(sending->send());
  ASSERT_TRUE(waitFor([&] { return sending->inputString() == "220 rea"; }));
  EXPECT_EQ(sending->sendState(), State::kAwaitGreeting);
  release.set_value();
  ASSERT_TRUE(waitForOutcome());
  server->join();
  EXPECT_EQ(outcome_.sent, 1);
  EXPECT_TRUE(logged("S: 220 ready"));
}

// --- What send() refuses ----------------------------------------------------------------------

TEST_F(SMTPMessageTest, InjectingAddressesAndHeadersFailAtOnceWithMinus6) {
  const std::vector<std::function<void(SMTPMessage&)>> spoilers = {
      [](SMTPMessage& m) { m.setToEmail("a@example.org\r\nRCPT TO:<b@example.org>"); },
      [](SMTPMessage& m) { m.setToEmail("a@example.org\n"); },
      [](SMTPMessage& m) { m.setFromEmail("me@example.org>\r\nDATA"); },
      [](SMTPMessage& m) { m.setFromEmail("<me@example.org"); },
      [](SMTPMessage& m) { m.setSubject("Log\r\nBcc: victim@example.org"); },
      [](SMTPMessage& m) { m.setSubject(std::string("Log\0x", 5)); },
      [](SMTPMessage& m) {
        m.setParts({{{kSMTPPartContentTypeKey, "text/plain\r\nX-Evil: 1"},
                     {kSMTPPartContentTransferEncodingKey, "7bit"},
                     {kSMTPPartMessageKey, "hi"}}});
      },
  };
  for (std::size_t i = 0; i < spoilers.size(); ++i) {
    outcome_ = Outcome();
    auto sending = message({25});
    spoilers[i](*sending);
    EXPECT_FALSE(sending->send()) << i;
    ASSERT_EQ(outcome_.errors.size(), 1u) << i;
    EXPECT_EQ(outcome_.errors[0].code, -6);
    EXPECT_EQ(outcome_.errors[0].description, "invalid address or header");
    EXPECT_EQ(sending->sendState(), State::kIdle);
  }
  EXPECT_FALSE(logMentions("Attempting to connect"));
}

TEST_F(SMTPMessageTest, MissingPropertiesAndASecondSendAreRefusedWithoutACrash) {
  const std::vector<std::pair<std::function<void(SMTPMessage&)>, std::string>> gaps = {
      {[](SMTPMessage& m) { m.setPass(""); }, "auth requires pass"},
      {[](SMTPMessage& m) { m.setLogin(""); }, "auth requires login"},
      {[](SMTPMessage& m) { m.setRelayHost(""); }, "send requires relayHost"},
      {[](SMTPMessage& m) { m.setSubject(""); }, "send requires subject"},
      {[](SMTPMessage& m) { m.setFromEmail(""); }, "send requires fromEmail"},
      {[](SMTPMessage& m) { m.setToEmail(""); }, "send requires toEmail"},
      {[](SMTPMessage& m) { m.setParts({}); }, "send requires parts"},
      {[](SMTPMessage& m) {
         m.setParts({{{kSMTPPartMessageKey, "no type"}}});
       },
       "send requires parts"},
  };
  for (const auto& [spoil, description] : gaps) {
    outcome_ = Outcome();
    auto sending = authenticating(25);
    spoil(*sending);
    EXPECT_FALSE(sending->send()) << description;
    ASSERT_EQ(outcome_.errors.size(), 1u) << description;
    EXPECT_EQ(outcome_.errors[0].code, -7);
    EXPECT_EQ(outcome_.errors[0].description, description);
    EXPECT_FALSE(sending->send());  // the same message again: refused, the delegate hears no more
    EXPECT_EQ(outcome_.calls(), 1u);
  }
  EXPECT_TRUE(logged("Message has already been sent!"));
}

// --- The message on the wire ------------------------------------------------------------------

TEST_F(SMTPMessageTest, ThePayloadIsValidMimeWithCrlfDotStuffingAndFoldedBase64) {
  auto sending = message({25});
  const std::string attachment(200, 'Q');  // one unbroken base64 text of 200 characters
  sending->setParts({
      {{kSMTPPartContentTypeKey, "text/plain"},
       {kSMTPPartContentTransferEncodingKey, "7bit"},
       {kSMTPPartMessageKey, "Hi,\n.\n..two\rend"}},
      {{kSMTPPartContentTypeKey, "text/directory;\r\n\tx-unix-mode=0644;\r\n\tname=\"L.csv\""},
       {kSMTPPartContentDispositionKey, "attachment;\r\n\tfilename=\"L.csv\""},
       {kSMTPPartContentTransferEncodingKey, "base64"},
       {kSMTPPartMessageKey, attachment}},
  });
  const std::string expected =
      "From:log@kinetra.example\r\n"
      "To:athlete@example.org\r\n"
      "Content-Type: multipart/mixed; boundary=SMTPMessage--Separator--Delimiter\r\n"
      "Mime-Version: 1.0 (SMTPMessage 1.0)\r\n"
      "Subject:Kinetra Log\r\n"
      "\r\n"
      "--SMTPMessage--Separator--Delimiter\r\n"
      "Content-Type: text/plain\r\n"
      "Content-Transfer-Encoding: 7bit\r\n"
      "\r\n"
      "Hi,\r\n"
      "..\r\n"
      "...two\r\n"
      "end\r\n"
      "--SMTPMessage--Separator--Delimiter\r\n"
      "Content-Disposition: attachment;\r\n\tfilename=\"L.csv\"\r\n"
      "Content-Type: text/directory;\r\n\tx-unix-mode=0644;\r\n\tname=\"L.csv\"\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "\r\n" +
      std::string(76, 'Q') + "\r\n" + std::string(76, 'Q') + "\r\n" + std::string(48, 'Q') +
      "\r\n"
      "--SMTPMessage--Separator--Delimiter--\r\n"
      ".\r\n";
  EXPECT_EQ(sending->dataPayload(), expected);
}

}  // namespace
}  // namespace kinetra
