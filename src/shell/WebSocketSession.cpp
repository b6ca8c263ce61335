#include "shell/WebSocketSession.h"

// GCC's flow analysis flags code inside Beast and Asio once inlined here (null dereference
// warnings on paths Beast never takes); it is not ours to change.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <algorithm>
#include <array>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/websocket.hpp>
#include <string_view>

#include "shell/ShellCore.h"
#include "shell/UpgradeRequest.h"

namespace kinetra {

namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = boost::asio::ip::tcp;

struct WebSocketSession::State {
  explicit State(tcp::socket socket) : stream(std::move(socket)) {}

  websocket::stream<tcp::socket> stream;
  beast::flat_buffer buffer;
};

void WebSocketSession::start(tcp::socket socket, std::weak_ptr<ShellCore> core,
                             UpgradeRequest request) {
  auto session = std::make_shared<WebSocketSession>(std::move(socket), core);
  auto shared = core.lock();
  if (!shared) return;
  session->maxQueued_ = std::max<std::size_t>(1, shared->limits.maxQueuedFrames);
  websocket::stream<tcp::socket>& stream = session->state_->stream;
  stream.read_message_max(shared->limits.maxWebSocketMessageBytes);
  stream.auto_fragment(false);
  stream.set_option(websocket::stream_base::decorator([](websocket::response_type& response) {
    response.set(beast::http::field::server, "Kinetra");
  }));
  stream.control_callback([weak = std::weak_ptr<WebSocketSession>(session)](
                              websocket::frame_type kind, beast::string_view) {
    if (kind != websocket::frame_type::pong) return;
    if (auto self = weak.lock()) self->heard();
  });
  session->armIdle();
  stream.async_accept(request.request,
                      [session](beast::error_code error) { session->onAccept(error); });
}

WebSocketSession::WebSocketSession(tcp::socket socket, std::weak_ptr<ShellCore> core)
    : state_(std::make_unique<State>(std::move(socket))), core_(std::move(core)) {}

WebSocketSession::~WebSocketSession() = default;

void WebSocketSession::onAccept(beast::error_code error) {
  auto core = core_.lock();
  if (error || !core) return close();
  open_ = true;
  doRead();
  core->hub->attach(weak_from_this());
}

void WebSocketSession::doRead() {
  state_->stream.async_read(
      state_->buffer,
      [self = shared_from_this()](beast::error_code error, std::size_t) { self->onRead(error); });
}

void WebSocketSession::onRead(beast::error_code error) {
  auto core = core_.lock();
  if (!core) return close();
  if (error) {
    if (error == websocket::error::message_too_big) {
      core->diagnostics.line("shell: oversized message",
                             "shell: closed a WebSocket that sent a message over the limit");
    }
    return close();
  }
  heard();
  const auto data = state_->buffer.cdata();
  const std::string_view message(static_cast<const char*>(data.data()), data.size());
  // The hub may close this session or send to it; the session stays alive through `self`.
  auto self = shared_from_this();
  core->hub->receive(*this, message);
  state_->buffer.consume(state_->buffer.size());
  if (open_) doRead();
}

void WebSocketSession::sendFrame(std::shared_ptr<const std::string> frame) {
  if (frame != nullptr) enqueue(std::move(frame), true);
}

void WebSocketSession::sendMessage(std::shared_ptr<const std::string> message) {
  if (message != nullptr) enqueue(std::move(message), false);
}

void WebSocketSession::enqueue(std::shared_ptr<const std::string> payload, bool frame) {
  if (!open_ || payload->size() < 2) return;
  // Every browser gets the same text, with the number of its own last event in front: the
  // text's opening brace is replaced by this head when it is written.
  std::string head = "{\"ack\":" + std::to_string(acknowledged_) + ",";
  const auto waitingFrom = queue_.begin() + (writing_ ? 1 : 0);
  const auto kindCount = [&](bool frames) {
    return static_cast<std::size_t>(std::count_if(
        waitingFrom, queue_.end(), [&](const Outgoing& out) { return out.frame == frames; }));
  };
  if (frame && kindCount(true) >= maxQueued_) {
    // Each frame is the whole screen: a browser that fell behind needs only the newest.
    queue_.erase(
        std::remove_if(waitingFrom, queue_.end(), [](const Outgoing& out) { return out.frame; }),
        queue_.end());
  } else if (!frame && kindCount(false) >= kMaxQueuedMessages) {
    queue_.erase(
        std::find_if(waitingFrom, queue_.end(), [](const Outgoing& out) { return !out.frame; }));
  }
  queue_.push_back({std::move(head), std::move(payload), frame});
  if (!writing_) doWrite();
}

void WebSocketSession::doWrite() {
  writing_ = true;
  state_->stream.text(true);
  writingHead_ = queue_.front().head;
  writingPayload_ = queue_.front().payload;
  const std::array<boost::asio::const_buffer, 2> message = {
      boost::asio::buffer(writingHead_),
      boost::asio::buffer(writingPayload_->data() + 1, writingPayload_->size() - 1)};
  state_->stream.async_write(
      message,
      [self = shared_from_this()](beast::error_code error, std::size_t) { self->onWrite(error); });
}

void WebSocketSession::onWrite(beast::error_code error) {
  writing_ = false;
  if (!queue_.empty()) queue_.pop_front();
  if (error || !open_) {
    queue_.clear();
    return close();
  }
  if (!queue_.empty()) doWrite();
}

void WebSocketSession::armIdle() {
  auto core = core_.lock();
  if (!core) return;
  idle_ = core->loop.schedule(core->limits.idleSeconds, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->onIdle();
  });
}

void WebSocketSession::heard() {
  awaitingPong_ = false;
  armIdle();
}

void WebSocketSession::onIdle() {
  if (!open_ || awaitingPong_) return close();
  awaitingPong_ = true;
  state_->stream.async_ping({}, [self = shared_from_this()](beast::error_code error) {
    if (error) self->close();
  });
  armIdle();
}

void WebSocketSession::close() {
  open_ = false;
  idle_.invalidate();
  // A write in flight still reads the front of the queue until its handler runs.
  if (!writing_) queue_.clear();
  boost::system::error_code ignored;
  state_->stream.next_layer().shutdown(tcp::socket::shutdown_both, ignored);
  state_->stream.next_layer().close(ignored);
}

}  // namespace kinetra
