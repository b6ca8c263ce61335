#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/system/error_code.hpp>
#include <cstdint>
#include <memory>

#include "foundation/Timer.h"
#include "shell/HttpMessage.h"

namespace kinetra {

struct ShellCore;

// One HTTP connection: reads requests within the shell's limits (headers, bodies, time without
// progress), checks each against the access policy before anything else, answers it through the
// router, and hands a WebSocket upgrade of "/ws" over to a WebSocket session. One response is
// written at a time. Lives as long as its pending operations; no container owns it.
//
// Until one of its requests passes the access policy the connection is unauthenticated: it is
// registered in the shell's UnauthenticatedConnections (which may drop it to make room) and must
// send its first header within the header deadline. Afterwards it is closed only when it makes
// no progress for the idle time. An upload is refused from its header alone (413 for a length
// over the route's limit, 409 when no picker of its kind is open) before any of the body is read.
// Answers to HEAD carry the headers of GET's answer, Content-Length included, and no body.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  static void start(boost::asio::ip::tcp::socket socket, std::weak_ptr<ShellCore> core);

  HttpSession(boost::asio::ip::tcp::socket socket, std::weak_ptr<ShellCore> core);
  ~HttpSession();
  HttpSession(const HttpSession&) = delete;
  HttpSession& operator=(const HttpSession&) = delete;

 private:
  struct State;  // the socket, buffer, parsers and serializer (Boost.Beast)

  void admit();
  void authenticated();
  void doReadHeader();
  void onReadHeader(boost::system::error_code error);
  void doReadBody(std::size_t limit);
  void readBodySome();
  void onReadBody(boost::system::error_code error);
  void respond(HttpReply reply, bool keepAlive);
  void doWrite(bool keepAlive);
  void onWrite(boost::system::error_code error, bool keepAlive);
  void linger();
  void doDrain();
  // Closes the connection when `seconds` pass before the timer is armed again.
  void armDeadline(double seconds);
  // The idle time once the connection passed the policy; the header deadline before.
  void armIdle();
  void close();
  void leaveUnauthenticated();

  static constexpr std::size_t kMaxDrainBytes = 32 * 1024 * 1024;

  std::unique_ptr<State> state_;
  std::weak_ptr<ShellCore> core_;
  HttpRequestHead head_;
  std::uint64_t unauthenticatedKey_ = 0;  // 0 once the connection passed the policy or closed
  bool passedPolicy_ = false;
  std::size_t drained_ = 0;
  Timer deadline_;
};

}  // namespace kinetra
