#include "foundation/Stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/RunLoop.h"
#include "support/LoopbackServer.h"
#include "support/TestCertificates.h"

namespace kinetra {
namespace {

using ::testing::HasSubstr;
using testing::LoopbackServer;
using ::testing::Not;
using testing::PeerConnection;
using testing::TestCertificates;

constexpr double kBound = 10;  // real seconds a test may wait for the network before failing

// Records every event and, unless told otherwise, reads up to `readSize` bytes per
// bytes-available event. `then` runs after the recording, for tests that act on events.
class Recorder : public StreamDelegate {
 public:
  void handleEvent(Stream& stream, StreamEvent event) override {
    events.push_back(event);
    if (event == StreamEvent::kHasBytesAvailable && readOnEvent) {
      std::vector<char> buffer(readSize);
      const std::size_t count = stream.read(buffer);
      readSizes.push_back(count);
      received.append(buffer.data(), count);
    }
    if (event == StreamEvent::kErrorOccurred) error = stream.error();
    if (then) then(stream, event);
  }

  std::size_t count(StreamEvent event) const {
    return static_cast<std::size_t>(std::count(events.begin(), events.end(), event));
  }
  bool saw(StreamEvent event) const { return count(event) > 0; }
  bool finished() const {
    return saw(StreamEvent::kEndEncountered) || saw(StreamEvent::kErrorOccurred);
  }

  std::vector<StreamEvent> events;
  std::string received;
  std::vector<std::size_t> readSizes;
  std::size_t readSize = 1024;
  bool readOnEvent = true;
  Status error;
  std::function<void(Stream&, StreamEvent)> then;
};

class StreamTest : public ::testing::Test {
 protected:
  bool waitFor(const std::function<bool()>& condition) { return loop_.runUntil(condition, kBound); }
  // Runs the loop until everything queued by now, completions of cancelled I/O included, ran.
  void drainLoop() {
    bool reached = false;
    loop_.post([&] { reached = true; });
    ASSERT_TRUE(waitFor([&] { return reached; }));
  }

  RunLoop loop_;
  Recorder recorder_;
};

TEST_F(StreamTest, ConnectsByNameAndEchoesBytesWrittenBeforeTheOpenCompleted) {
  LoopbackServer server([](PeerConnection* peer) {
    if (peer == nullptr) return;
    const auto line = peer->readUntil("\n");
    if (line) peer->write("echo: " + *line);
    peer->readUntilClosed();
  });
  Stream stream(loop_, "localhost", server.port(), &recorder_);
  EXPECT_EQ(stream.state(), Stream::State::kNotOpen);
  stream.open();
  EXPECT_TRUE(stream.write("hello\n"));
  EXPECT_TRUE(recorder_.events.empty());  // nothing is delivered from inside a call

  ASSERT_TRUE(waitFor([&] { return recorder_.received == "echo: hello\n"; }));
  EXPECT_EQ(recorder_.events.front(), StreamEvent::kOpenCompleted);
  EXPECT_EQ(stream.state(), Stream::State::kOpen);
  EXPECT_FALSE(stream.isSecure());
}

TEST_F(StreamTest, EndIsEncounteredOnceAfterEveryByteWasOffered) {
  LoopbackServer server([](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->write("bye");
    peer->close();
  });
  recorder_.readSize = 1;  // three events are needed to take the bytes
  Stream stream(loop_, "127.0.0.1", server.port(), &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished(); }));
  drainLoop();
  EXPECT_EQ(recorder_.received, "bye");
  EXPECT_EQ(recorder_.count(StreamEvent::kEndEncountered), 1u);
  EXPECT_EQ(recorder_.events.back(), StreamEvent::kEndEncountered);
  EXPECT_FALSE(recorder_.saw(StreamEvent::kErrorOccurred));
  EXPECT_EQ(stream.state(), Stream::State::kAtEnd);
}

TEST_F(StreamTest, ADelegateThatReadsNothingStillHearsOfTheEndAndCanReadLater) {
  LoopbackServer server([](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->write("abc");
    peer->close();
  });
  recorder_.readOnEvent = false;
  Stream stream(loop_, "127.0.0.1", server.port(), &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished(); }));
  EXPECT_TRUE(recorder_.saw(StreamEvent::kHasBytesAvailable));
  EXPECT_TRUE(recorder_.saw(StreamEvent::kEndEncountered));
  std::array<char, 8> buffer{};
  ASSERT_EQ(stream.read(buffer), 3u);
  EXPECT_EQ(std::string(buffer.data(), 3), "abc");
  EXPECT_FALSE(stream.hasBytesAvailable());
}

// More than the stream buffers (64 KiB), so reading from the socket pauses and resumes.
TEST_F(StreamTest, ReadsNeverReturnMoreThanAskedAndLoseNothing) {
  std::string sent;
  for (int i = 0; sent.size() < 1024 * 1024; ++i) sent += std::to_string(i) + ",";
  LoopbackServer server([&sent](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->write(sent);
    peer->close();
  });
  Stream stream(loop_, "127.0.0.1", server.port(), &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished(); }));
  EXPECT_TRUE(recorder_.received == sent);
  EXPECT_GE(recorder_.readSizes.size(), sent.size() / 1024);
  for (std::size_t size : recorder_.readSizes) EXPECT_LE(size, 1024u);
}

TEST_F(StreamTest, AWriteLargerThanTheSocketBuffersArrivesWholeAndInOrder) {
  std::string big(8 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + (i * 7) % 26);
  std::optional<std::string> got;
  LoopbackServer server([&](PeerConnection* peer) {
    if (peer != nullptr) got = peer->readExactly(big.size() + 4);
  });
  Stream stream(loop_, "127.0.0.1", server.port(), &recorder_);
  stream.open();
  stream.write(big);
  stream.write("DONE");
  ASSERT_TRUE(waitFor([&] { return server.finished(); }));
  server.join();
  ASSERT_TRUE(got.has_value());
  EXPECT_TRUE(*got == big + "DONE");
  EXPECT_FALSE(recorder_.saw(StreamEvent::kErrorOccurred));
}

TEST_F(StreamTest, ARefusedConnectionIsANetworkError) {
  Stream stream(loop_, "127.0.0.1", LoopbackServer::unusedPort(), &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished(); }));
  EXPECT_EQ(recorder_.events, std::vector<StreamEvent>{StreamEvent::kErrorOccurred});
  EXPECT_EQ(recorder_.error.code(), Status::Code::kNetworkError);
  EXPECT_EQ(stream.state(), Stream::State::kError);
  EXPECT_FALSE(stream.write("late"));
}

TEST_F(StreamTest, AnUnresolvableHostIsNotFound) {
  Stream stream(loop_, "no-such-host.invalid", 25, &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished(); }));
  EXPECT_EQ(recorder_.events, std::vector<StreamEvent>{StreamEvent::kErrorOccurred});
  EXPECT_EQ(recorder_.error.code(), Status::Code::kNotFound);
}

TEST_F(StreamTest, UnusableHostNamesAndPortZeroFailLaterWithInvalidArgument) {
  const std::vector<std::pair<std::string, std::uint16_t>> targets = {
      {"", 25},
      {std::string("relay.example.org\0.evil", 23), 25},
      {std::string(300, 'a'), 25},
      {"127.0.0.1", 0},
  };
  for (const auto& [host, port] : targets) {
    Recorder recorder;
    Stream stream(loop_, host, port, &recorder);
    stream.open();
    EXPECT_TRUE(recorder.events.empty());
    ASSERT_TRUE(waitFor([&] { return recorder.finished(); }));
    EXPECT_EQ(recorder.events, std::vector<StreamEvent>{StreamEvent::kErrorOccurred});
    EXPECT_EQ(recorder.error.code(), Status::Code::kInvalidArgument) << host.size();
  }
}

TEST_F(StreamTest, NoEventFollowsClose) {
  std::atomic<bool> serverSent{false};
  LoopbackServer server([&](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->write("abc");
    peer->close();
    serverSent = true;
  });
  recorder_.readOnEvent = false;
  recorder_.then = [](Stream& stream, StreamEvent event) {
    if (event == StreamEvent::kHasBytesAvailable) {
      stream.close();
      stream.close();  // idempotent
    }
  };
  Stream stream(loop_, "127.0.0.1", server.port(), &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.saw(StreamEvent::kHasBytesAvailable); }));
  ASSERT_TRUE(waitFor([&] { return serverSent.load(); }));
  drainLoop();
  EXPECT_EQ(recorder_.events, (std::vector<StreamEvent>{StreamEvent::kOpenCompleted,
                                                        StreamEvent::kHasBytesAvailable}));
  EXPECT_EQ(stream.state(), Stream::State::kClosed);
  std::array<char, 8> buffer{};
  EXPECT_EQ(stream.read(buffer), 0u);
  EXPECT_FALSE(stream.write("more"));
}

TEST_F(StreamTest, ClosingWhileConnectingDeliversNothing) {
  LoopbackServer server([](PeerConnection*) {});
  Stream stream(loop_, "localhost", server.port(), &recorder_);
  stream.open();
  stream.close();
  drainLoop();
  EXPECT_TRUE(recorder_.events.empty());
}

// Run under AddressSanitizer, these catch completions that reach freed streams or delegates.
TEST_F(StreamTest, DestroyingAStreamWithPendingIoIsSafe) {
  std::atomic<bool> firstByteArrived{false};
  LoopbackServer server([&](PeerConnection* peer) {
    if (peer == nullptr) return;
    firstByteArrived = peer->readExactly(1).has_value();
    peer->readUntilClosed();
  });
  auto stream = std::make_unique<Stream>(loop_, "127.0.0.1", server.port(), &recorder_);
  stream->open();
  stream->write(std::string(16 * 1024 * 1024, 'x'));  // far more than the peer's buffers take
  ASSERT_TRUE(waitFor([&] { return firstByteArrived.load(); }));
  const std::size_t eventsBefore = recorder_.events.size();
  stream.reset();  // a write and a read are still pending
  ASSERT_TRUE(waitFor([&] { return server.finished(); }));
  drainLoop();
  EXPECT_EQ(recorder_.events.size(), eventsBefore);

  auto connecting = std::make_unique<Stream>(loop_, "localhost", server.port(), &recorder_);
  connecting->open();
  connecting.reset();  // resolving
  drainLoop();
  EXPECT_EQ(recorder_.events.size(), eventsBefore);
}

TEST_F(StreamTest, ADelegateMayDestroyItsStreamFromInsideAnEvent) {
  LoopbackServer server([](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->write("221 bye\r\n");
    peer->close();
  });
  auto stream = std::make_unique<Stream>(loop_, "127.0.0.1", server.port(), &recorder_);
  recorder_.then = [&stream](Stream&, StreamEvent event) {
    if (event == StreamEvent::kHasBytesAvailable) stream.reset();
  };
  stream->open();
  ASSERT_TRUE(waitFor([&] { return stream == nullptr; }));
  drainLoop();
  EXPECT_EQ(recorder_.events.back(), StreamEvent::kHasBytesAvailable);
  EXPECT_EQ(recorder_.received, "221 bye\r\n");
}

// --- TLS --------------------------------------------------------------------------------------

struct TlsOutcome {
  bool established = false;
  Status error;
  std::string receivedAfterUpgrade;
  bool endAfterUpgrade = false;
  bool serverHandshook = false;
  std::string serverHeard;
};

// A STARTTLS-shaped exchange: greeting and go-ahead in the clear (the go-ahead followed at once by
// injected plaintext the client must never see), the handshake on the same socket, then one
// request and reply encrypted (each one line), and the server hanging up.
class StreamTlsTest : public StreamTest {
 protected:
  TlsOutcome exchange(const PeerConnection::TlsSettings& serverSettings, const std::string& host,
                      const TlsOptions& options, const std::string& request = "EHLO secure\r\n",
                      const std::string& reply = "250 secure hello\r\n") {
    TlsOutcome outcome;
    LoopbackServer server([&](PeerConnection* peer) {
      if (peer == nullptr) return;
      peer->write("220 ready\r\n");
      if (!peer->readUntil("STARTTLS\r\n")) return;
      peer->write("220 go ahead\r\nINJECTED");
      outcome.serverHandshook = peer->acceptTls(serverSettings);
      if (!outcome.serverHandshook) return;
      if (auto line = peer->readUntil("\r\n")) outcome.serverHeard = *line;
      peer->write(reply);
      peer->close();
    });

    Recorder recorder;
    recorder.readSize = 1;  // take the clear text a byte at a time: the rest stays buffered
    bool upgraded = false;
    recorder.then = [&](Stream& stream, StreamEvent event) {
      if (event == StreamEvent::kTlsEstablished) {
        outcome.established = true;
        return;
      }
      if (event != StreamEvent::kHasBytesAvailable || upgraded) return;
      if (recorder.received == "220 ready\r\n") stream.write("STARTTLS\r\n");
      if (recorder.received == "220 ready\r\n220 go ahead\r\n") {
        upgraded = true;
        EXPECT_TRUE(stream.startTls(options));
        EXPECT_FALSE(stream.startTls(options));
        stream.write(request);  // held until the handshake is done
        // From here on everything read counts, whether it comes before the handshake or after.
        recorder.received.clear();
        recorder.readSize = 1024;
      }
    };
    Stream stream(loop_, host, server.port(), &recorder);
    stream.open();
    EXPECT_TRUE(waitFor([&] { return recorder.finished(); }));
    if (outcome.established) {
      outcome.receivedAfterUpgrade = recorder.received;
      outcome.endAfterUpgrade = recorder.saw(StreamEvent::kEndEncountered);
      EXPECT_TRUE(stream.isSecure());
    }
    outcome.error = recorder.error;
    stream.close();
    server.join();
    return outcome;
  }

  PeerConnection::TlsSettings caSignedServer() const { return {certificates_.caSigned()}; }
  TlsOptions trustingTestCa(std::string hostName = "") const {
    return {std::move(hostName), TlsVerification::kVerifyPeer, certificates_.caFile()};
  }

  TestCertificates certificates_;
};

TEST_F(StreamTlsTest, UpgradesInPlaceAndDropsPlaintextSentAfterTheGoAhead) {
  const TlsOutcome outcome = exchange(caSignedServer(), "localhost", trustingTestCa());
  ASSERT_TRUE(outcome.established) << outcome.error.toString();
  EXPECT_EQ(outcome.serverHeard, "EHLO secure\r\n");
  EXPECT_EQ(outcome.receivedAfterUpgrade, "250 secure hello\r\n");
  EXPECT_THAT(outcome.receivedAfterUpgrade, Not(HasSubstr("INJECTED")));
  EXPECT_TRUE(outcome.endAfterUpgrade);  // a hang-up without close_notify reads as the end
}

// Both far longer than a record, and than what the stream encrypts at a time.
TEST_F(StreamTlsTest, LongWritesAndRepliesCrossWhole) {
  std::string request;
  std::string reply;
  for (int i = 0; i < 300'000; ++i) {
    request += static_cast<char>('a' + i % 26);
    reply += static_cast<char>('A' + i % 23);
  }
  request += "\r\n";
  reply += "\r\n";
  const TlsOutcome outcome =
      exchange(caSignedServer(), "localhost", trustingTestCa(), request, reply);
  ASSERT_TRUE(outcome.established) << outcome.error.toString();
  EXPECT_TRUE(outcome.serverHeard == request) << outcome.serverHeard.size() << " bytes heard";
  EXPECT_TRUE(outcome.receivedAfterUpgrade == reply)
      << outcome.receivedAfterUpgrade.size() << " bytes received";
  EXPECT_TRUE(outcome.endAfterUpgrade);
}

TEST_F(StreamTlsTest, AnAddressIsVerifiedAgainstTheCertificatesAddresses) {
  const TlsOutcome outcome = exchange(caSignedServer(), "127.0.0.1", trustingTestCa());
  EXPECT_TRUE(outcome.established) << outcome.error.toString();
}

TEST_F(StreamTlsTest, ASelfSignedCertificateIsRefusedUnlessVerificationIsOff) {
  const PeerConnection::TlsSettings selfSigned{certificates_.selfSigned()};
  const TlsOutcome refused = exchange(selfSigned, "localhost", TlsOptions{});
  EXPECT_FALSE(refused.established);
  EXPECT_EQ(refused.error.code(), Status::Code::kTlsError);
  EXPECT_THAT(refused.error.message(), HasSubstr("self-signed"));

  const TlsOutcome accepted =
      exchange(selfSigned, "localhost", TlsOptions{"", TlsVerification::kNone, ""});
  EXPECT_TRUE(accepted.established) << accepted.error.toString();
  EXPECT_EQ(accepted.receivedAfterUpgrade, "250 secure hello\r\n");
}

TEST_F(StreamTlsTest, ACertificateForAnotherHostIsRefused) {
  const TlsOutcome outcome =
      exchange(caSignedServer(), "127.0.0.1", trustingTestCa("smtp.example.org"));
  EXPECT_FALSE(outcome.established);
  EXPECT_EQ(outcome.error.code(), Status::Code::kTlsError);
  EXPECT_EQ(outcome.serverHeard, "");
}

TEST_F(StreamTlsTest, VersionsOlderThanTls12AreRefused) {
  const PeerConnection::TlsSettings legacy{certificates_.caSigned(), TLS1_1_VERSION};
  {
    LoopbackServer probe([&](PeerConnection* peer) {
      if (peer != nullptr) peer->acceptTls(legacy);
    });
    if (!testing::legacyTlsHandshakeSucceeds(probe.port(), TLS1_1_VERSION)) {
      GTEST_SKIP() << "this OpenSSL cannot negotiate TLS 1.1 even at security level 0";
    }
  }
  const TlsOutcome outcome = exchange(legacy, "localhost", trustingTestCa());
  EXPECT_FALSE(outcome.established);
  EXPECT_EQ(outcome.error.code(), Status::Code::kTlsError);
}

TEST_F(StreamTlsTest, APeerHangingUpInTheHandshakeIsATlsError) {
  LoopbackServer server([](PeerConnection* peer) {
    if (peer == nullptr) return;
    peer->readUntil("STARTTLS\r\n");  // then hangs up on the client's hello
    peer->close();
  });
  Stream stream(loop_, "localhost", server.port(), &recorder_);
  recorder_.then = [&](Stream& upgraded, StreamEvent event) {
    if (event == StreamEvent::kOpenCompleted) {
      EXPECT_TRUE(upgraded.startTls(trustingTestCa()));
    }
  };
  stream.write("STARTTLS\r\n");
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.finished(); }));
  EXPECT_EQ(recorder_.error.code(), Status::Code::kTlsError);
  EXPECT_THAT(recorder_.error.message(), HasSubstr("TLS handshake failed"));
  EXPECT_FALSE(stream.isSecure());
  server.join();
}

TEST_F(StreamTlsTest, StartTlsIsRefusedWhenItCannotBegin) {
  Stream unopened(loop_, "localhost", 25, &recorder_);
  EXPECT_FALSE(unopened.startTls(TlsOptions{}));

  LoopbackServer server([](PeerConnection* peer) {
    if (peer != nullptr) peer->readUntilClosed();
  });
  Stream stream(loop_, "localhost", server.port(), &recorder_);
  stream.open();
  ASSERT_TRUE(waitFor([&] { return recorder_.saw(StreamEvent::kOpenCompleted); }));
  const TlsOptions missingCa{"", TlsVerification::kVerifyPeer, "/nonexistent/ca.pem"};
  EXPECT_FALSE(stream.startTls(missingCa));
  EXPECT_FALSE(stream.isSecure());
  EXPECT_TRUE(stream.write("still plain\r\n"));
}

}  // namespace
}  // namespace kinetra
