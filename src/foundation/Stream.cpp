#include "foundation/Stream.h"

#include <algorithm>
#include <array>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <cstring>
#include <deque>
#include <utility>

#include "foundation/RunLoop.h"
#include "foundation/TlsSession.h"

namespace kinetra {

namespace asio = boost::asio;
using asio::ip::tcp;
using ErrorCode = boost::system::error_code;

namespace {

// The longest name DNS can carry.
constexpr std::size_t kMaxHostNameLength = 253;
// Reading from the socket pauses while this many received bytes wait for read().
constexpr std::size_t kMaxBufferedInput = 64 * 1024;
constexpr std::size_t kReadChunk = TlsSession::kMaxReceive;
// A secure stream encrypts this much of a write at a time, so a long one is not held twice.
constexpr std::size_t kEncryptChunk = 64 * 1024;

bool isUsableHostName(const std::string& hostName) {
  return !hostName.empty() && hostName.size() <= kMaxHostNameLength &&
         hostName.find('\0') == std::string::npos;
}

// A TLS peer that drops the connection without close_notify counts as a clean end too: the
// protocols on these streams frame their own messages, so a cut cannot go unnoticed.
bool isPeerClosing(const ErrorCode& error) { return error == asio::error::eof; }

}  // namespace

// The state of one connection, shared with every pending asynchronous operation so that a
// completion arriving after the Stream is gone finds live memory and does nothing.
class Stream::Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(RunLoop& loop, Stream& owner, StreamDelegate* delegate)
      : io_(loop.ioContext()), resolver_(io_), socket_(io_), owner_(&owner), delegate_(delegate) {}

  void setDelegate(StreamDelegate* delegate) {
    if (!isFinished()) delegate_ = delegate;
  }
  void open(const std::string& hostName, std::uint16_t port);
  std::size_t read(std::span<char> buffer);
  bool hasBytesAvailable() const { return inbox_.size() > inboxStart_; }
  void discardBufferedInput() {
    inbox_.clear();
    inboxStart_ = 0;
  }
  bool write(std::string_view bytes);
  bool startTls(const TlsOptions& options, const std::string& streamHostName);
  bool isSecure() const { return upgrade_ == Upgrade::kSecure; }
  void close();
  State state() const { return state_; }
  const Status& error() const { return error_; }

 private:
  enum class Upgrade { kNone, kDraining, kHandshaking, kSecure };

  bool isFinished() const { return state_ == State::kClosed || state_ == State::kError; }
  bool canTransfer() const { return state_ == State::kOpen || state_ == State::kAtEnd; }
  std::size_t bufferedSize() const { return inbox_.size() - inboxStart_; }

  void deliver(StreamEvent event);
  void fail(Status status);
  void failLater(Status status);

  void onResolved(const ErrorCode& error, const tcp::resolver::results_type& endpoints);
  void onConnected(const ErrorCode& error);

  void startReading();
  void onRead(const ErrorCode& error, std::size_t length);
  void offerInput();
  void offerInputLater();

  void flushWrites();
  void onWritten(const ErrorCode& error);

  void continueUpgrade();
  void continueHandshake();
  void onHandshakeDone();
  bool decryptReceived(std::string_view ciphertext);
  bool encryptNextWrite();

  asio::io_context& io_;
  tcp::resolver resolver_;
  tcp::socket socket_;
  std::unique_ptr<TlsSession> tls_;  // from startTls() on

  Stream* owner_;
  StreamDelegate* delegate_;
  State state_ = State::kNotOpen;
  Status error_;
  Upgrade upgrade_ = Upgrade::kNone;

  std::array<char, kReadChunk> readChunk_{};
  std::string inbox_;
  std::size_t inboxStart_ = 0;
  bool readPending_ = false;
  bool readCancelled_ = false;
  bool peerClosed_ = false;
  bool delivering_ = false;
  bool readDuringEvent_ = false;
  bool offerPosted_ = false;

  // Plaintext writes. In the clear the front one is in flight while writeInFlight_; once secure,
  // they are encrypted in turn, frontEncrypted_ bytes of the front one so far.
  std::deque<std::string> writeQueue_;
  std::size_t frontEncrypted_ = 0;
  std::deque<std::string> heldWrites_;  // made during the TLS upgrade
  std::string toPeer_;                  // ciphertext waiting to be sent
  std::string toPeerInFlight_;
  bool writeInFlight_ = false;
  bool writingCiphertext_ = false;
};

// --- events ---------------------------------------------------------------------------------

void Stream::Connection::deliver(StreamEvent event) {
  if (delegate_ == nullptr || owner_ == nullptr) return;
  auto keepAlive = shared_from_this();
  const bool wasDelivering = delivering_;
  delivering_ = true;
  delegate_->handleEvent(*owner_, event);
  delivering_ = wasDelivering;
}

void Stream::Connection::fail(Status status) {
  if (isFinished()) return;
  error_ = std::move(status);
  state_ = State::kError;
  ErrorCode ignored;
  resolver_.cancel();
  socket_.close(ignored);
  deliver(StreamEvent::kErrorOccurred);
  owner_ = nullptr;
  delegate_ = nullptr;
}

void Stream::Connection::failLater(Status status) {
  asio::post(io_, [self = shared_from_this(), status = std::move(status)]() mutable {
    self->fail(std::move(status));
  });
}

void Stream::Connection::close() {
  if (isFinished()) return;
  state_ = State::kClosed;
  owner_ = nullptr;
  delegate_ = nullptr;
  ErrorCode ignored;
  resolver_.cancel();
  socket_.close(ignored);
  writeQueue_.clear();
  heldWrites_.clear();
  discardBufferedInput();
}

// --- connecting -----------------------------------------------------------------------------

void Stream::Connection::open(const std::string& hostName, std::uint16_t port) {
  if (state_ != State::kNotOpen) return;
  state_ = State::kOpening;
  if (!isUsableHostName(hostName)) {
    failLater(Status::InvalidArgument("unusable host name"));
    return;
  }
  if (port == 0) {
    failLater(Status::InvalidArgument("port 0"));
    return;
  }
  resolver_.async_resolve(
      hostName, std::to_string(port), tcp::resolver::numeric_service,
      [self = shared_from_this()](const ErrorCode& error, tcp::resolver::results_type endpoints) {
        self->onResolved(error, endpoints);
      });
}

void Stream::Connection::onResolved(const ErrorCode& error,
                                    const tcp::resolver::results_type& endpoints) {
  if (isFinished()) return;
  if (error) {
    fail(Status::NotFound("cannot resolve host: " + error.message()));
    return;
  }
  asio::async_connect(
      socket_, endpoints,
      [self = shared_from_this()](const ErrorCode& connectError, const tcp::endpoint&) {
        self->onConnected(connectError);
      });
}

void Stream::Connection::onConnected(const ErrorCode& error) {
  if (isFinished()) return;
  if (error) {
    fail(Status::NetworkError("cannot connect: " + error.message()));
    return;
  }
  ErrorCode ignored;
  socket_.set_option(tcp::no_delay(true), ignored);
  state_ = State::kOpen;
  deliver(StreamEvent::kOpenCompleted);
  if (isFinished()) return;
  startReading();
  flushWrites();
}

// --- reading --------------------------------------------------------------------------------

void Stream::Connection::startReading() {
  if (readPending_ || peerClosed_ || !canTransfer()) return;
  if (upgrade_ == Upgrade::kDraining) return;
  if (upgrade_ != Upgrade::kHandshaking && bufferedSize() >= kMaxBufferedInput) return;
  readPending_ = true;
  socket_.async_read_some(asio::buffer(readChunk_),
                          [self = shared_from_this()](const ErrorCode& error, std::size_t length) {
                            self->onRead(error, length);
                          });
}

void Stream::Connection::onRead(const ErrorCode& error, std::size_t length) {
  readPending_ = false;
  if (isFinished()) return;
  if (upgrade_ == Upgrade::kDraining) {
    // Whatever came in the clear after startTls() is dropped unread.
    continueUpgrade();
    return;
  }
  const std::string_view received(readChunk_.data(), error ? 0 : length);
  if (upgrade_ == Upgrade::kHandshaking) {
    if (error) {
      fail(Status::TlsError("TLS handshake failed: " + (isPeerClosing(error)
                                                            ? std::string("the peer hung up")
                                                            : error.message())));
      return;
    }
    if (Status status = tls_->receive(received); !status.ok()) {
      fail(std::move(status));
      return;
    }
    continueHandshake();
    return;
  }
  if (error && !isPeerClosing(error)) {
    fail(Status::NetworkError("read failed: " + error.message()));
    return;
  }
  if (error) {
    peerClosed_ = true;
  } else {
    if (inboxStart_ > 0 && inboxStart_ >= inbox_.size() / 2) {
      inbox_.erase(0, inboxStart_);
      inboxStart_ = 0;
    }
    if (upgrade_ != Upgrade::kSecure) {
      inbox_.append(received);
    } else if (!decryptReceived(received)) {
      return;
    }
  }
  offerInput();
  startReading();
}

// Adds what `ciphertext` completes to the received plaintext, and sends whatever the session
// answers. False once the stream has failed.
bool Stream::Connection::decryptReceived(std::string_view ciphertext) {
  Status status = tls_->receive(ciphertext);
  if (status.ok()) status = tls_->decrypt(inbox_, toPeer_, peerClosed_);
  if (!status.ok()) {
    fail(std::move(status));
    return false;
  }
  flushWrites();
  return !isFinished();
}

std::size_t Stream::Connection::read(std::span<char> buffer) {
  if (isFinished()) return 0;
  const std::size_t count = std::min(buffer.size(), bufferedSize());
  if (count == 0) return 0;
  std::memcpy(buffer.data(), inbox_.data() + inboxStart_, count);
  inboxStart_ += count;
  if (inboxStart_ == inbox_.size()) discardBufferedInput();
  readDuringEvent_ = true;
  startReading();
  // A read outside an event still owes the delegate the news of what is left, or of the end.
  if (!delivering_ && (hasBytesAvailable() || peerClosed_)) offerInputLater();
  return count;
}

// Tells the delegate about buffered bytes, or about the end once every byte was offered. After
// an event in which the delegate read something and bytes remain, it is told again (later, so
// other work runs in between); a delegate that read nothing is told again when more arrive.
void Stream::Connection::offerInput() {
  if (isFinished()) return;
  if (hasBytesAvailable()) {
    readDuringEvent_ = false;
    deliver(StreamEvent::kHasBytesAvailable);
    if (isFinished()) return;
    if (hasBytesAvailable() && readDuringEvent_) {
      offerInputLater();
      return;
    }
    if (hasBytesAvailable() && !peerClosed_) return;
  }
  if (peerClosed_ && state_ == State::kOpen) {
    state_ = State::kAtEnd;
    deliver(StreamEvent::kEndEncountered);
  }
}

void Stream::Connection::offerInputLater() {
  if (offerPosted_) return;
  offerPosted_ = true;
  asio::post(io_, [self = shared_from_this()] {
    self->offerPosted_ = false;
    self->offerInput();
  });
}

// --- writing --------------------------------------------------------------------------------

bool Stream::Connection::write(std::string_view bytes) {
  if (isFinished()) return false;
  if (bytes.empty()) return true;
  if (upgrade_ == Upgrade::kDraining || upgrade_ == Upgrade::kHandshaking) {
    heldWrites_.emplace_back(bytes);
    return true;
  }
  writeQueue_.emplace_back(bytes);
  flushWrites();
  return true;
}

// In the clear, sends the front write. During the handshake, sends what the session wrote; once
// secure, that and then the queued writes, encrypted a piece at a time.
void Stream::Connection::flushWrites() {
  if (writeInFlight_ || !canTransfer()) return;
  auto handler = [self = shared_from_this()](const ErrorCode& error, std::size_t) {
    self->onWritten(error);
  };
  if (upgrade_ == Upgrade::kNone || upgrade_ == Upgrade::kDraining) {
    if (writeQueue_.empty()) return;
    writeInFlight_ = true;
    writingCiphertext_ = false;
    // Deque elements stay in place while others are added or removed: the buffer stays valid.
    asio::async_write(socket_, asio::buffer(writeQueue_.front()), std::move(handler));
    return;
  }
  if (toPeer_.empty() && upgrade_ == Upgrade::kSecure && !encryptNextWrite()) return;
  if (toPeer_.empty()) return;
  toPeerInFlight_ = std::move(toPeer_);
  toPeer_.clear();
  writeInFlight_ = true;
  writingCiphertext_ = true;
  asio::async_write(socket_, asio::buffer(toPeerInFlight_), std::move(handler));
}

// Encrypts the next piece of the queued writes into toPeer_. False when there is none, or when
// the stream has failed.
bool Stream::Connection::encryptNextWrite() {
  if (writeQueue_.empty()) return false;
  const std::string_view front = writeQueue_.front();
  const std::string_view piece = front.substr(frontEncrypted_, kEncryptChunk);
  if (Status status = tls_->encrypt(piece, toPeer_); !status.ok()) {
    fail(std::move(status));
    return false;
  }
  frontEncrypted_ += piece.size();
  if (frontEncrypted_ == front.size()) {
    writeQueue_.pop_front();
    frontEncrypted_ = 0;
  }
  return true;
}

void Stream::Connection::onWritten(const ErrorCode& error) {
  writeInFlight_ = false;
  if (isFinished()) return;
  if (error) {
    fail(upgrade_ == Upgrade::kHandshaking
             ? Status::TlsError("TLS handshake failed: " + error.message())
             : Status::NetworkError("write failed: " + error.message()));
    return;
  }
  if (writingCiphertext_) {
    toPeerInFlight_.clear();
    flushWrites();
    return;
  }
  writeQueue_.pop_front();
  if (upgrade_ == Upgrade::kDraining && writeQueue_.empty()) {
    continueUpgrade();
    return;
  }
  flushWrites();
}

// --- TLS ------------------------------------------------------------------------------------

bool Stream::Connection::startTls(const TlsOptions& options, const std::string& streamHostName) {
  if (state_ != State::kOpen || upgrade_ != Upgrade::kNone) return false;
  auto session =
      TlsSession::create(options, options.hostName.empty() ? streamHostName : options.hostName);
  if (!session.ok()) return false;
  tls_ = std::move(session).value();
  upgrade_ = Upgrade::kDraining;
  discardBufferedInput();
  continueUpgrade();
  return true;
}

// The handshake may begin once the socket is ours alone: every write made before startTls() is
// out, and the pending plaintext read has been called off.
void Stream::Connection::continueUpgrade() {
  if (upgrade_ != Upgrade::kDraining || isFinished()) return;
  if (writeInFlight_ || !writeQueue_.empty()) {
    flushWrites();
    return;  // onWritten() comes back here
  }
  if (readPending_) {
    if (!readCancelled_) {
      readCancelled_ = true;
      ErrorCode ignored;
      socket_.cancel(ignored);  // nothing but the read is pending now
    }
    return;  // onRead() comes back here
  }
  discardBufferedInput();
  upgrade_ = Upgrade::kHandshaking;
  continueHandshake();
}

void Stream::Connection::continueHandshake() {
  switch (tls_->handshake(toPeer_)) {
    case TlsSession::Progress::kNeedsInput:
      flushWrites();
      startReading();
      return;
    case TlsSession::Progress::kFailed:
      fail(Status::TlsError(tls_->failure()));
      return;
    case TlsSession::Progress::kEstablished:
      flushWrites();  // the handshake's last message
      onHandshakeDone();
      return;
  }
}

void Stream::Connection::onHandshakeDone() {
  upgrade_ = Upgrade::kSecure;
  for (auto& bytes : heldWrites_) writeQueue_.push_back(std::move(bytes));
  heldWrites_.clear();
  // The peer may have sent records right after its part of the handshake.
  if (!decryptReceived({})) return;
  deliver(StreamEvent::kTlsEstablished);
  if (isFinished()) return;
  offerInput();
  if (isFinished()) return;
  startReading();
  flushWrites();
}

// --- the handle -----------------------------------------------------------------------------

Stream::Stream(RunLoop& loop, std::string hostName, std::uint16_t port, StreamDelegate* delegate)
    : hostName_(std::move(hostName)),
      port_(port),
      connection_(std::make_shared<Connection>(loop, *this, delegate)) {}

Stream::~Stream() { connection_->close(); }

void Stream::setDelegate(StreamDelegate* delegate) { connection_->setDelegate(delegate); }
void Stream::open() { connection_->open(hostName_, port_); }
std::size_t Stream::read(std::span<char> buffer) { return connection_->read(buffer); }
bool Stream::hasBytesAvailable() const { return connection_->hasBytesAvailable(); }
void Stream::discardBufferedInput() { connection_->discardBufferedInput(); }
bool Stream::write(std::string_view bytes) { return connection_->write(bytes); }
bool Stream::startTls(const TlsOptions& options) {
  return connection_->startTls(options, hostName_);
}
bool Stream::isSecure() const { return connection_->isSecure(); }
void Stream::close() { connection_->close(); }
Stream::State Stream::state() const { return connection_->state(); }
Status Stream::error() const { return connection_->error(); }

}  // namespace kinetra
