#include "shell/HttpSession.h"

// GCC's flow analysis flags code inside Beast and Asio once inlined here (null dereference
// warnings on paths Beast never takes); it is not ours to change.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <algorithm>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/ShellCore.h"
#include "shell/UpgradeRequest.h"
#include "shell/WebSocketSession.h"

namespace kinetra {

namespace beast = boost::beast;
namespace http = beast::http;
using tcp = boost::asio::ip::tcp;

namespace {

// A response body that shares the reply's bytes rather than copying them: a download of
// megabytes, a picture or the client's script is written from the one copy the route holds. Or,
// for a reply made as it is sent, its pieces, each made when the last has been written.
struct ReplyBody {
  struct value_type {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    std::function<std::vector<std::uint8_t>()> pieces;
  };

  static std::uint64_t size(const value_type& body) { return body.bytes ? body.bytes->size() : 0; }

  class writer {
   public:
    using const_buffers_type = boost::asio::const_buffer;

    template <bool isRequest, class Fields>
    writer(const http::header<isRequest, Fields>&, const value_type& body) : body_(body) {}

    void init(beast::error_code& error) { error = {}; }

    // Kept bytes in one buffer, which the serializer writes piece by piece; made pieces one at a
    // time, the next asked for once the serializer has taken the last.
    boost::optional<std::pair<const_buffers_type, bool>> get(beast::error_code& error) {
      error = {};
      if (body_.pieces) {
        piece_ = body_.pieces();
        if (piece_.empty()) return boost::none;
        return {{const_buffers_type(piece_.data(), piece_.size()), true}};
      }
      if (!body_.bytes || body_.bytes->empty()) return boost::none;
      return {{const_buffers_type(body_.bytes->data(), body_.bytes->size()), false}};
    }

   private:
    const value_type& body_;
    std::vector<std::uint8_t> piece_;
  };
};

}  // namespace

struct HttpSession::State {
  explicit State(tcp::socket s) : socket(std::move(s)) {}

  tcp::socket socket;
  beast::flat_buffer buffer;
  std::optional<http::request_parser<http::empty_body>> header;
  std::optional<http::request_parser<http::vector_body<std::uint8_t>>> body;
  // The serializer reads the response: reset before it.
  std::optional<http::response<ReplyBody>> response;
  std::optional<http::response_serializer<ReplyBody>> serializer;
  bool headOnly = false;
  std::vector<std::uint8_t> drain;
};

namespace {

std::string field(const http::fields& fields, http::field name) {
  const auto it = fields.find(name);
  return it == fields.end() ? std::string() : std::string(it->value());
}

HttpRequestHead headOf(const http::request<http::empty_body>& request) {
  HttpRequestHead head;
  head.method = std::string(request.method_string());
  head.target = std::string(request.target());
  const std::size_t question = head.target.find('?');
  head.path = head.target.substr(0, question);
  if (question != std::string::npos) head.query = head.target.substr(question + 1);
  head.host = field(request, http::field::host);
  head.hasOrigin = request.find(http::field::origin) != request.end();
  head.origin = field(request, http::field::origin);
  for (auto it = request.find(http::field::cookie);
       it != request.end() && it->name() == http::field::cookie; ++it) {
    if (!head.cookie.empty()) head.cookie += "; ";
    head.cookie += std::string(it->value());
  }
  head.webSocketUpgrade = beast::websocket::is_upgrade(request);
  head.http10 = request.version() < 11;
  return head;
}

}  // namespace

void HttpSession::start(tcp::socket socket, std::weak_ptr<ShellCore> core) {
  auto session = std::make_shared<HttpSession>(std::move(socket), std::move(core));
  session->admit();
  session->doReadHeader();
}

HttpSession::HttpSession(tcp::socket socket, std::weak_ptr<ShellCore> core)
    : state_(std::make_unique<State>(std::move(socket))), core_(std::move(core)) {}

HttpSession::~HttpSession() { leaveUnauthenticated(); }

void HttpSession::admit() {
  auto core = core_.lock();
  if (!core) return;
  unauthenticatedKey_ = core->unauthenticated.admit([weak = weak_from_this()] {
    if (auto self = weak.lock()) self->close();
  });
}

void HttpSession::leaveUnauthenticated() {
  if (unauthenticatedKey_ == 0) return;
  if (auto core = core_.lock()) core->unauthenticated.remove(unauthenticatedKey_);
  unauthenticatedKey_ = 0;
}

void HttpSession::authenticated() {
  passedPolicy_ = true;
  leaveUnauthenticated();
}

void HttpSession::armDeadline(double seconds) {
  auto core = core_.lock();
  if (!core) return;
  deadline_ = core->loop.schedule(seconds, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->close();
  });
}

void HttpSession::armIdle() {
  auto core = core_.lock();
  if (!core) return;
  armDeadline(passedPolicy_ ? core->limits.idleSeconds : core->limits.headerSeconds);
}

void HttpSession::close() {
  deadline_.invalidate();
  leaveUnauthenticated();
  boost::system::error_code ignored;
  state_->socket.shutdown(tcp::socket::shutdown_both, ignored);
  state_->socket.close(ignored);
}

void HttpSession::doReadHeader() {
  auto core = core_.lock();
  if (!core) return close();
  head_ = {};
  state_->body.reset();
  state_->header.emplace();
  state_->header->header_limit(static_cast<std::uint32_t>(core->limits.maxHeaderBytes));
  // The route decides the body's limit once the header is in (see onReadHeader); until then
  // only the largest one any route allows.
  state_->header->body_limit(std::max({core->limits.maxUploadBytes, core->limits.maxDocumentBytes,
                                       core->limits.maxOtherBodyBytes}));
  // Unauthenticated, this is the first header, and the deadline runs from the accept.
  armIdle();
  http::async_read_header(state_->socket, state_->buffer, *state_->header,
                          [self = shared_from_this()](beast::error_code error, std::size_t) {
                            self->onReadHeader(error);
                          });
}

void HttpSession::onReadHeader(beast::error_code error) {
  auto core = core_.lock();
  if (!core) return close();
  if (error == http::error::header_limit) {
    return respond(HttpReply::text(431, "Request Header Fields Too Large\n"), false);
  }
  if (error == http::error::body_limit) {
    return respond(HttpReply::text(413, "Payload Too Large\n"), false);
  }
  if (error == http::error::end_of_stream || error == boost::asio::error::operation_aborted ||
      error == boost::asio::error::eof || error == boost::asio::error::connection_reset) {
    return close();
  }
  if (error) return respond(HttpReply::text(400, "Bad Request\n"), false);

  head_ = headOf(state_->header->get());
  const AccessPolicy::Decision decision = core->policy.check(head_);
  // A redirect means the token was right.
  if (decision.allowed || decision.redirect) authenticated();
  if (!decision.allowed) {
    if (!decision.redirect) {
      // The path only: a query may hold a token.
      core->diagnostics.line("shell: refused", "shell: refused " + head_.method + " " +
                                                   head_.path.substr(0, 200) + ": " +
                                                   decision.reason);
    }
    return respond(decision.reply, decision.redirect && state_->header->get().keep_alive());
  }
  if (head_.webSocketUpgrade) {
    if (head_.path != "/ws") return respond(HttpReply::text(404, "Not Found\n"), false);
    deadline_.invalidate();
    WebSocketSession::start(std::move(state_->socket), core_,
                            UpgradeRequest{state_->header->release()});
    return;
  }
  const bool upload = HttpRouter::isUpload(head_);
  const std::size_t limit = HttpRouter::bodyLimit(head_, core->limits);
  // Refused from the header alone, before any of the body is read.
  if (const auto length = state_->header->content_length(); length && *length > limit) {
    core->diagnostics.line(
        "shell: refused", "shell: refused a request body of " + std::to_string(*length) + " bytes");
    return respond(HttpReply::text(413, "Payload Too Large\n"), false);
  }
  if (upload) {
    if (std::optional<HttpReply> refusal = core->router.refuseUpload(head_)) {
      return respond(std::move(*refusal), false);
    }
  }
  doReadBody(limit);
}

void HttpSession::doReadBody(std::size_t limit) {
  state_->body.emplace(std::move(*state_->header));
  state_->header.reset();
  state_->body->body_limit(limit);
  state_->body->eager(true);
  readBodySome();
}

void HttpSession::readBodySome() {
  if (state_->body->is_done()) return onReadBody({});
  // Measured from the last bytes that came: a slow upload that keeps coming is never cut off.
  armIdle();
  http::async_read_some(state_->socket, state_->buffer, *state_->body,
                        [self = shared_from_this()](beast::error_code error, std::size_t) {
                          self->onReadBody(error);
                        });
}

void HttpSession::onReadBody(beast::error_code error) {
  auto core = core_.lock();
  if (!core) return close();
  if (error == http::error::body_limit) {
    return respond(HttpReply::text(413, "Payload Too Large\n"), false);
  }
  if (error == http::error::end_of_stream || error == boost::asio::error::operation_aborted ||
      error == boost::asio::error::eof || error == boost::asio::error::connection_reset) {
    return close();
  }
  if (error) return respond(HttpReply::text(400, "Bad Request\n"), false);
  if (!state_->body->is_done()) return readBodySome();
  http::request<http::vector_body<std::uint8_t>> request = state_->body->release();
  state_->body.reset();
  const bool keepAlive = request.keep_alive();
  respond(core->router.route(head_, std::move(request.body())), keepAlive);
}

void HttpSession::respond(HttpReply reply, bool keepAlive) {
  state_->serializer.reset();
  auto& response = state_->response.emplace();
  response.version(11);
  response.result(static_cast<unsigned>(reply.status));
  response.set(http::field::server, "Kinetra");
  response.set("X-Content-Type-Options", "nosniff");
  response.set("X-Frame-Options", "DENY");
  response.set("Referrer-Policy", "no-referrer");
  response.set("Content-Security-Policy",
               "default-src 'self'; img-src 'self' blob: data:; style-src 'self' "
               "'unsafe-inline'; connect-src 'self'; frame-ancestors 'none'");
  for (const auto& [name, value] : reply.headers) response.insert(name, value);
  if (reply.status != 204 && reply.status != 304) {
    if (!reply.contentType.empty()) response.set(http::field::content_type, reply.contentType);
    if (reply.pieces) {
      // Of a length known only at its end: in chunks, or to an HTTP/1.0 client up to the close.
      response.body().pieces = std::move(reply.pieces);
      if (head_.http10) keepAlive = false;
      response.chunked(!head_.http10);
    } else {
      response.body().bytes = std::move(reply.body);
      response.prepare_payload();
    }
  }
  response.keep_alive(keepAlive);
  state_->serializer.emplace(response);
  state_->headOnly = head_.method == "HEAD";
  armIdle();
  doWrite(keepAlive);
}

void HttpSession::doWrite(bool keepAlive) {
  auto handler = [self = shared_from_this(), keepAlive](beast::error_code error, std::size_t) {
    self->onWrite(error, keepAlive);
  };
  // The header is small; an answer's body is written piece by piece, each piece counting as
  // progress.
  if (state_->headOnly) {
    http::async_write_header(state_->socket, *state_->serializer, std::move(handler));
  } else {
    http::async_write_some(state_->socket, *state_->serializer, std::move(handler));
  }
}

void HttpSession::onWrite(beast::error_code error, bool keepAlive) {
  if (error) return close();
  if (!state_->headOnly && !state_->serializer->is_done()) {
    armIdle();
    return doWrite(keepAlive);
  }
  state_->serializer.reset();
  state_->response.reset();
  if (!keepAlive) return linger();
  doReadHeader();
}

void HttpSession::linger() {
  // Closing with unread bytes (the rest of a refused upload) would reset the connection and
  // could destroy the answer before the browser reads it: stop sending, read and drop what
  // still comes (a bounded amount, within the idle time or, unauthenticated, the header
  // deadline), then close.
  boost::system::error_code ignored;
  state_->socket.shutdown(tcp::socket::shutdown_send, ignored);
  armIdle();
  doDrain();
}
void HttpSession::doDrain() {
  state_->drain.resize(64 * 1024);
  state_->socket.async_read_some(
      boost::asio::buffer(state_->drain),
      [self = shared_from_this()](beast::error_code error, std::size_t n) {
        self->drained_ += n;
        if (error || self->drained_ > kMaxDrainBytes) return self->close();
        self->doDrain();
      });
}

}  // namespace kinetra
