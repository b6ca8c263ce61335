#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/system/error_code.hpp>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "foundation/Timer.h"
#include "shell/FrameSink.h"

namespace kinetra {

struct ShellCore;
struct UpgradeRequest;

// One browser's WebSocket, after the HTTP session checked its upgrade. Completes the
// handshake, then hands every message (at most the shell's message limit) to the screen hub and
// sends the frames the hub gives it. Only one write is in flight; frames waiting behind it are
// replaced by the newest once more than the limit wait, so a slow browser costs a bounded
// amount of memory and never holds up the others; a waiting message is the text shared by every
// browser, not a copy. Other messages (files offered, vibrations)
// keep their place in order; past kMaxQueuedMessages of them the oldest waiting one goes. A silent
// connection is pinged after the idle time and closed after another one without an answer. Lives as
// long as its pending operations.
class WebSocketSession : public FrameSink, public std::enable_shared_from_this<WebSocketSession> {
 public:
  static void start(boost::asio::ip::tcp::socket socket, std::weak_ptr<ShellCore> core,
                    UpgradeRequest request);

  WebSocketSession(boost::asio::ip::tcp::socket socket, std::weak_ptr<ShellCore> core);
  ~WebSocketSession() override;
  WebSocketSession(const WebSocketSession&) = delete;
  WebSocketSession& operator=(const WebSocketSession&) = delete;

  // Messages other than frames that may wait for a slow browser.
  static constexpr std::size_t kMaxQueuedMessages = 16;

  void sendFrame(std::shared_ptr<const std::string> frame) override;
  void sendMessage(std::shared_ptr<const std::string> message) override;
  void acknowledge(std::int64_t sequence) override { acknowledged_ = sequence; }
  void close() override;

 private:
  struct State;  // the WebSocket stream and its buffer (Boost.Beast)

  void onAccept(boost::system::error_code error);
  void doRead();
  void onRead(boost::system::error_code error);
  void doWrite();
  void onWrite(boost::system::error_code error);
  void armIdle();
  void onIdle();
  void heard();

  std::unique_ptr<State> state_;
  std::weak_ptr<ShellCore> core_;
  // A message waiting: the text every browser gets, shared, and this browser's head for it.
  struct Outgoing {
    std::string head;  // {"ack":<n>,
    std::shared_ptr<const std::string> payload;
    bool frame = false;  // a whole screen, which a newer one replaces
  };
  void enqueue(std::shared_ptr<const std::string> payload, bool frame);

  std::deque<Outgoing> queue_;  // the front one is being written while writing_
  // The head and text being written, held apart from the queue: erasing a waiting message may
  // move the front element, and a short head lives inside it.
  std::string writingHead_;
  std::shared_ptr<const std::string> writingPayload_;
  bool writing_ = false;
  bool open_ = false;
  bool awaitingPong_ = false;
  std::int64_t acknowledged_ = -1;
  std::size_t maxQueued_ = 2;
  Timer idle_;
};

}  // namespace kinetra
